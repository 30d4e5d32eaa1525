#!/usr/bin/env bash
# Configures and builds xkest into BUILD_DIR (default: build). XK_WERROR=ON
# (as CI sets it) makes every compiler warning an error.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} \
  -DXK_WERROR=${XK_WERROR:-OFF} >/dev/null
cmake --build "$build" -j"$(nproc)"
