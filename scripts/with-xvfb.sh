#!/usr/bin/env bash
# Runs a command under a private Xvfb server that is stopped afterwards.
# Usage: scripts/with-xvfb.sh COMMAND [ARG...]
set -uo pipefail
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
num=""
read -r -t 20 num <"$fifo"
rm -f "$fifo"
if [ -z "$num" ]; then
  echo "with-xvfb: the X server did not start" >&2
  kill "$xvfb_pid" 2>/dev/null
  exit 1
fi
export DISPLAY=":$num"
"$@"
status=$?
kill "$xvfb_pid" 2>/dev/null
wait "$xvfb_pid" 2>/dev/null
exit $status
