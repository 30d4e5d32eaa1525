#!/usr/bin/env bash
# Configures and builds the robustness build: clang with AddressSanitizer
# and UBSan (-O1) and the libFuzzer targets, into ROBUST_BUILD_DIR (default
# build-robust). Builds the targets named, or everything.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${ROBUST_BUILD_DIR:-$here/build-robust}
cmake -S "$here" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DXK_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DXK_WERROR=${XK_WERROR:-OFF} \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only" \
  "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only" \
  -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=TRUE >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}" >/dev/null
