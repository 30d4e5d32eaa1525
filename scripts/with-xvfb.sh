#!/usr/bin/env bash
# Runs a command under a private Xvfb server that is stopped afterwards; the
# command and everything it started are stopped too when this script is
# interrupted or killed.
# Usage: scripts/with-xvfb.sh COMMAND [ARG...]
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/private-xvfb.sh"
if ! xk_start_xvfb -noreset; then
  echo "with-xvfb: the X server did not start" >&2
  exit 1
fi
# In a session of its own, so its whole process tree (anything left behind
# included) can be stopped at once; waited for in the background, so a
# signal is acted on at once. Standard input stays the script's.
setsid "$@" <&0 &
command_pid=$!
xk_stop_on_exit "-$command_pid"
wait "$command_pid"
exit $?
