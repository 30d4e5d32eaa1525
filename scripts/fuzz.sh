#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and UBSan) and runs
# each for a while, seeded from fuzz/corpus/<target>/.
#
#   scripts/fuzz.sh              every target 30 s
#   scripts/fuzz.sh 600 table    only table_fuzz, 10 minutes
#   FUZZ_SECONDS=120 FUZZ_JOBS=1 scripts/fuzz.sh
#
# New inputs go to BUILD/fuzz/work/<target>/ (not the seed folder), findings
# to BUILD/fuzz/findings/<target>/ with the fuzzer's log beside them. Exits
# 1 when any target found a crash, leak, timeout or failed check.
# Environment: FUZZ_BUILD_DIR (default build-fuzz), FUZZ_JOBS (targets at
# a time, default the number of cores), FUZZ_NO_BUILD=1 to skip the build,
# FUZZ_DESC_SECONDS (the desc target's time, default the others').
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-${FUZZ_SECONDS:-30}}
[ $# -gt 0 ] && shift
build=${FUZZ_BUILD_DIR:-$here/build-fuzz}
jobs=${FUZZ_JOBS:-$(nproc)}

if [ "${FUZZ_NO_BUILD:-0}" != 1 ]; then
  cmake -S "$here" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DXK_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DXK_WERROR=${XK_WERROR:-OFF} \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only" \
    "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only" \
    -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=TRUE >/dev/null || exit 2
  targets=$(cd "$here/fuzz" && ls *_fuzz.cpp | sed 's/\.cpp$//')
  # shellcheck disable=SC2086
  cmake --build "$build" -j"$(nproc)" --target $targets >/dev/null || exit 2
fi

if [ $# -gt 0 ]; then
  names="$*"
else
  names=$(cd "$here/fuzz" && ls *_fuzz.cpp | sed 's/_fuzz\.cpp$//')
fi

run_one() {
  local name=$1
  local work=$build/fuzz/work/$name findings=$build/fuzz/findings/$name
  mkdir -p "$work" "$findings"
  local seeds=()
  [ -d "$here/fuzz/corpus/$name" ] && seeds+=("$here/fuzz/corpus/$name")
  # -timeout: one input taking 10 s is a hang; -rss_limit_mb: memory blowup.
  # The kestb readers get long inputs: their faults live in long and deep
  # structures (their recipe inputs build larger ones from a few bytes).
  # desc builds whole descriptions on a private X server: its seeds are
  # whole resource files, and an input over 5 s is a hang there.
  local max_len=8192 timeout=10 time=$seconds runner=()
  case $name in
    dsm|template) max_len=262144 ;;
    # libFuzzer's timeout report can deadlock in the allocator when the
    # alarm comes inside malloc: an outer limit keeps that from hanging.
    desc) max_len=65536 timeout=5 time=${FUZZ_DESC_SECONDS:-$seconds}
          runner=(timeout -k 10 $((time + 60)) "$here/scripts/with-xvfb.sh") ;;
  esac
  "${runner[@]}" "$build/fuzz/${name}_fuzz" "$work" "${seeds[@]}" \
    -max_total_time="$time" -timeout=$timeout -rss_limit_mb=2048 -max_len=$max_len \
    -print_final_stats=1 -artifact_prefix="$findings/" >"$findings/log" 2>&1
  local status=$?
  local runs cov
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$findings/log")
  cov=$(grep -o 'cov: [0-9]*' "$findings/log" | tail -1)
  if [ $status -eq 0 ]; then
    printf '%-10s ok     %10s runs  %s\n' "$name" "${runs:-?}" "$cov"
  else
    printf '%-10s FAILED (status %d), see %s\n' "$name" "$status" "$findings/log"
    grep -m3 -E 'ERROR|check failed|SUMMARY' "$findings/log" | sed 's/^/    /'
    return 1
  fi
}

failed=0
running=0
for name in $names; do
  if [ ! -x "$build/fuzz/${name}_fuzz" ]; then
    echo "fuzz.sh: no target ${name}_fuzz in $build/fuzz" >&2
    failed=1
    continue
  fi
  run_one "$name" &
  running=$((running + 1))
  if [ $running -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
done
while [ $running -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
exit $failed
