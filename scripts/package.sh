#!/usr/bin/env bash
# Builds the Debian package of xkest with CPack and prints the path of the
# .deb (in BUILD_DIR/package; BUILD_DIR defaults to build). Installs what
# is missing and builds first, so a build folder that is up to date is only
# packed, not compiled again.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh"
rm -rf "$build/package"
if ! (cd "$build" && cpack -G DEB >"$build/cpack.log" 2>&1); then
  cat "$build/cpack.log" >&2
  echo "package: cpack failed" >&2
  exit 1
fi
debs=("$build"/package/xkest_*.deb)
[ -f "${debs[0]}" ] || { echo "package: cpack made no .deb (see $build/cpack.log)" >&2; exit 1; }
echo "${debs[0]}"
