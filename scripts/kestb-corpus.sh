#!/usr/bin/env bash
# Generates C++ from every model of tests/kestb/corpus (and the sample
# shop.dsm) with every bundled template, and compiles it with each compiler
# and standard under -Wall -Wextra -Werror -pedantic; then builds one test
# program per model and template (each record made, copied, compared and
# printed) with AddressSanitizer and UndefinedBehaviorSanitizer and runs it.
#
#   scripts/kestb-corpus.sh [--quick] [KESTB]
#
# KESTB defaults to build/kestb/kestb. --quick takes a few models, g++ and
# C++17 only, and runs no program (the ctest kestb_corpus_quick). CXXS and STDS override the
# compilers and standards ("g++ clang++", "c++17 c++20"); JOBS the
# parallel compiles (the number of processors).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
quick=0
if [ "${1:-}" = --quick ]; then quick=1; shift; fi
kestb=${1:-$here/build/kestb/kestb}
home=$here/demo-home
corpus=$here/tests/kestb/corpus
if [ $quick = 1 ]; then
  models=("$corpus/include_cycle.dsm" "$corpus/element_declared_later.dsm"
          "$corpus/mixed_cycle.dsm" "$corpus/every_type.dsm" "$home/shop.dsm")
  cxxs=${CXXS:-g++}
  stds=${STDS:-c++17}
else
  models=("$corpus"/*.dsm "$home/shop.dsm")
  cxxs=${CXXS:-g++ clang++}
  stds=${STDS:-c++17 c++20}
fi
jobs=${JOBS:-$(nproc)}
work=$(mktemp -d "${TMPDIR:-/tmp}/kestb-corpus.XXXXXX")
trap 'rm -rf "$work"' EXIT
flags="-Wall -Wextra -Werror -pedantic"

# The standard headers, precompiled once for each compiler and standard
# (most of a translation unit's time is theirs): every generated file is
# compiled after them. That each header includes what it needs is the unit
# tests' part (kestb_compile_test).
pch=$work/pch
sanitize="-g0 -fsanitize=address,undefined -fno-sanitize-recover=all"
pchjobs=$work/pchjobs
: > "$pchjobs"
headers='#include <iosfwd>\n#include <iostream>\n#include <ostream>\n#include <string>\n#include <vector>\n'
declare -A pre
for cxx in $cxxs; do
  for std in $stds; do
    d=$pch/$cxx-$std
    mkdir -p "$d"
    printf "$headers" > "$d/std.h"
    if [[ $cxx == clang* ]]; then
      echo "$d $cxx -std=$std $flags -x c++-header std.h -o std.h.pch" >> "$pchjobs"
      pre[$cxx-$std]="-include-pch $d/std.h.pch"
    else
      echo "$d $cxx -std=$std $flags -x c++-header std.h -o std.h.gch" >> "$pchjobs"
      pre[$cxx-$std]="-Winvalid-pch -include $d/std.h"
    fi
  done
done
if [ $quick = 0 ]; then
  d=$pch/sanitize
  mkdir -p "$d"
  printf "$headers" > "$d/std.h"
  echo "$d g++ -std=c++20 $flags $sanitize -x c++-header std.h -o std.h.gch" >> "$pchjobs"
  pre[sanitize]="-Winvalid-pch -include $d/std.h"
fi

# One job a line: a folder and a command run in it.
list=$work/jobs
: > "$list"
n=0
for dsm in "${models[@]}"; do
  name=$(basename "$dsm" .dsm)
  for tem in "$home"/templates/*.tem; do
    t=$(basename "$tem" .tem)
    dir=$work/$name.$t
    mkdir -p "$dir/check"
    if ! "$kestb" "$dsm" "$tem" "$dir" -nb -homedir "$home" -showfiles false \
         -nokwada true -nokwcxx false > "$dir/report" ||
       ! "$kestb" "$dsm" "$corpus/check.tem" "$dir/check" -nb -showfiles false \
         -nokwada true > "$dir/check/report"; then
      echo "kestb-corpus: kestb refused $dsm with $t:" >&2
      cat "$dir/report" "$dir/check/report" >&2
      exit 1
    fi
    # The program includes every header; a source file includes its own
    # first, so each header is compiled on its own as well.
    (
      cd "$dir"
      echo '#include <iostream>'
      for h in *.h; do [ -e "$h" ] && echo "#include \"$h\""; done
      printf 'int main() {\n#include "check/check.inc"\n  return 0;\n}\n'
    ) > "$dir/main.cpp"
    sources=()
    for c in "$dir"/*.cxx; do [ -e "$c" ] && sources+=("$(basename "$c")"); done
    # A single source file joins the program in one translation unit (a
    # source file per record cannot: each has the same helpers).
    if [ ${#sources[@]} -le 1 ]; then
      for c in "${sources[@]}"; do echo "#include \"$c\""; done > "$dir/unit.cpp"
      cat "$dir/main.cpp" >> "$dir/unit.cpp"
      units=unit.cpp
    else
      units="${sources[*]} main.cpp"
    fi
    for cxx in $cxxs; do
      for std in $stds; do
        echo "$dir $cxx -std=$std $flags ${pre[$cxx-$std]} -fsyntax-only $units" >> "$list"
      done
    done
    if [ $quick = 0 ]; then
      echo "$dir g++ -std=c++20 $flags $sanitize ${pre[sanitize]} $units -o prog && ./prog > out.txt" >> "$list"
    fi
    n=$((n + 1))
  done
done

status=0
# shellcheck disable=SC2016
run() {
  xargs -P "$jobs" -d '\n' -n 1 bash -c '
  set -- $1
  dir=$1; shift
  cd "$dir" && if ! eval "$*" > log.txt 2>&1; then
    echo "kestb-corpus: FAILED in $dir: $*" >&2
    head -40 log.txt >&2
    exit 1
  fi' _ < "$1"
}
run "$pchjobs" && run "$list" || status=1
echo "kestb-corpus: $n model/template pairs, $(wc -l < "$list") compiles and runs, compilers: $cxxs, standards: $stds, ${SECONDS} s: $([ $status = 0 ] && echo ok || echo FAILED)"
exit $status
