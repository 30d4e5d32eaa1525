#!/usr/bin/env bash
# Installs what is missing, builds, and starts xkest on your display, with
# the bundled demo as KESTHOME unless you set one. Arguments go to xkest.
# With no DISPLAY it starts a private Xvfb, runs xkest there, writes a
# screenshot of the window to a PNG file (SCREENSHOT, default
# build/xkest-screenshot.png), says where it is, and stops both, also when
# it is interrupted or fails on the way.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh"
source "$here/scripts/xkest-env.sh"

if [ -n "${DISPLAY:-}" ]; then
  exec "$build/xkest" "$@"
fi

shot=${SCREENSHOT:-$build/xkest-screenshot.png}
source "$here/scripts/private-xvfb.sh"
if ! xk_start_xvfb; then
  echo "run: the private X server did not start" >&2
  exit 1
fi
"$build/xkest" "$@" &
xkest_pid=$!
xk_stop_on_exit "$xkest_pid"
status=0
# Wait (at most 30 s) until the main window is on the screen.
wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^xkest$' 2>/dev/null | head -1 || true)
if [ -n "$wid" ] && kill -0 "$xkest_pid" 2>/dev/null; then
  sleep 0.5   # let the first exposure finish drawing
  import -window "$wid" "$shot"
  echo "xkest ran on a private X server (no DISPLAY was set)."
  echo "Screenshot of its window: $shot"
else
  wait "$xkest_pid" || status=$?
  echo "run: xkest ended with status $status before showing its window" >&2
  [ "$status" -ne 0 ] || status=1
fi
exit $status
