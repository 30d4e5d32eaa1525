#!/usr/bin/env bash
# CI robustness step: the unit tests built and run with AddressSanitizer
# and UBSan (clang, -O1), the fuzz corpora and kept reproducers replayed,
# then every fuzzer for a bounded time (FUZZ_SECONDS, default 20), then a
# 60-second monkey soak of the real program (fixed seed, MONKEY_SEED).
# One build serves both, so the libraries are compiled once.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${ROBUST_BUILD_DIR:-$here/build-robust}
seconds=${FUZZ_SECONDS:-20}

start=$(date +%s)
"$here/scripts/robust-build.sh"
echo "ci-robustness: sanitizer build done in $(( $(date +%s) - start )) s"

# The toolkit's own allocations that live as long as the process are not
# our leaks; libX11 compares quark names past a short stored name.
# Tests of out-of-memory handling need malloc to fail rather than abort.
export ASAN_OPTIONS=strict_memcmp=0:detect_leaks=1:allocator_may_return_null=1
export LSAN_OPTIONS=suppressions=$here/fuzz/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
cd "$build"
LC_ALL=C "$here/scripts/with-xvfb.sh" ctest --output-on-failure -j"$(nproc)" --timeout 600 ||
  status=1
echo "ci-robustness: sanitizer tests done at $(( $(date +%s) - start )) s"

# Fuzz even after a test failure: both findings are worth a single run.
FUZZ_BUILD_DIR=$build FUZZ_NO_BUILD=1 "$here/scripts/fuzz.sh" "$seconds" || status=1
echo "ci-robustness: fuzzing done at $(( $(date +%s) - start )) s"

# The whole program under random user input and a real window manager, on
# the build above (scripts/monkey.sh runs it longer).
"$here/scripts/monkey.sh" 60 "${MONKEY_SEED:-18}" || status=1
echo "ci-robustness: monkey soak done at $(( $(date +%s) - start )) s"
exit $status
