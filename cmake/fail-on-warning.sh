#!/usr/bin/env bash
# Compiler launcher of XK_WERROR builds: runs one compile command and fails
# it when the compiler printed a warning, removing the object so the next
# build compiles it again. Used instead of -Werror, which would change every
# compile command: CI's builds would then miss the compiler cache that
# everyone's builds fill. A warning replayed from the cache fails too.
set -uo pipefail
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$@" 2>"$log"
status=$?
cat "$log" >&2
if [ $status -eq 0 ] && grep -q -E '(^|: )warning: ' "$log"; then
  object=""
  previous=""
  for arg in "$@"; do
    [ "$previous" = "-o" ] && object=$arg
    previous=$arg
  done
  [ -z "$object" ] || rm -f -- "$object"
  echo "error: a compiler warning is an error in this build (XK_WERROR)" >&2
  exit 1
fi
exit $status
