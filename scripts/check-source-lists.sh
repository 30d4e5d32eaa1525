#!/usr/bin/env bash
# Fails when a C or C++ source under a source folder is in no list of the
# nearest CMakeLists.txt above it: the build names its sources one by one,
# so a file that nobody listed would silently not be built or tested.
# Run by the tests (ctest name source_lists).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
status=0
while IFS= read -r -d '' src; do
  dir=$(dirname "$src")
  while [ ! -f "$dir/CMakeLists.txt" ]; do dir=$(dirname "$dir"); done
  rel=${src#"$dir"/}
  # A listed source is a word of its own on a line that is not a comment.
  # (Not sed | grep -q: grep leaving at the first match can end sed with
  # SIGPIPE, which pipefail then reports as a source missing.)
  listed=$(sed 's/#.*//' "$dir/CMakeLists.txt")
  if ! grep -q -E "(^|[[:space:](])${rel//./\\.}([[:space:])]|\$)" <<<"$listed"; then
    echo "check-source-lists: $src is in no list of $dir/CMakeLists.txt" >&2
    status=1
  fi
done < <(find app bench fuzz kestb support tests wcl xman xmp -type f \( -name '*.cpp' -o -name '*.c' \) -print0)
exit $status
