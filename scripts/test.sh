#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; the tests that need
# an X server run under a private Xvfb that this script starts and stops.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh"
build=${BUILD_DIR:-$here/build}
cd "$build"
LC_ALL=C "$here/scripts/with-xvfb.sh" ctest --output-on-failure -j"$(nproc)" --timeout 300
