#!/usr/bin/env bash
# Installs what is missing, builds, and starts xkest on your display, with
# the bundled demo as KESTHOME unless you set one. Arguments go to xkest.
# With no DISPLAY it starts a private Xvfb, runs xkest there, writes a
# screenshot of the window to a PNG file (SCREENSHOT, default
# build/xkest-screenshot.png), says where it is, and stops both.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh"
source "$here/scripts/xkest-env.sh"

if [ -n "${DISPLAY:-}" ]; then
  exec "$build/xkest" "$@"
fi

shot=${SCREENSHOT:-$build/xkest-screenshot.png}
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
num=""
read -r -t 20 num <"$fifo" || true
rm -f "$fifo"
if [ -z "$num" ]; then
  echo "run: the private X server did not start" >&2
  kill "$xvfb_pid" 2>/dev/null || true
  exit 1
fi
export DISPLAY=":$num"
"$build/xkest" "$@" &
xkest_pid=$!
status=0
# Wait (at most 30 s) until the main window is on the screen.
wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^xkest$' 2>/dev/null | head -1 || true)
if [ -n "$wid" ] && kill -0 "$xkest_pid" 2>/dev/null; then
  sleep 0.5   # let the first exposure finish drawing
  import -window "$wid" "$shot"
  echo "xkest ran on a private X server (no DISPLAY was set)."
  echo "Screenshot of its window: $shot"
  kill "$xkest_pid" 2>/dev/null || true
else
  wait "$xkest_pid" || status=$?
  echo "run: xkest ended with status $status before showing its window" >&2
  [ "$status" -ne 0 ] || status=1
fi
kill "$xvfb_pid" 2>/dev/null || true
wait "$xvfb_pid" 2>/dev/null || true
exit $status
