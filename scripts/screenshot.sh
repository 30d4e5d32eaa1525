#!/usr/bin/env bash
# Writes PNG screenshots of xkest's main window and of its options dialog,
# taken on a private Xvfb, and prints their paths. Builds first when the
# program is missing. Output folder: $1, default build/screenshots.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/xkest-env.sh"
[ -x "$build/xkest" ] || "$here/scripts/build.sh"
out=${1:-$build/screenshots}
mkdir -p "$out"

source "$here/scripts/private-xvfb.sh"
xk_start_xvfb || { echo "screenshot: the private X server did not start" >&2; exit 1; }

# Waits (at most 20 s) for a visible window with exactly this title.
window() {
  timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -1
}

gen=$(mktemp -d)
xk_remove_on_exit "$gen"
(cd /tmp && exec "$build/xkest" -outdir "$gen" "$@") &
xk_stop_on_exit $!
main=$(window xkest)
[ -n "$main" ] || { echo "screenshot: xkest showed no window" >&2; exit 1; }

# Open the sample model (File > Open, the name typed into the selection
# field) and run the generator on it, so the pictures show real content.
sample=$(ls "$KESTHOME"/*.dsm 2>/dev/null | head -1 || true)
if [ -n "$sample" ]; then
  xdotool windowfocus --sync "$main" key ctrl+o
  open=$(window "Open DSM file")
  if [ -n "$open" ]; then
    # The selection field lies across the dialog, 320 pixels down; the
    # dialog lays itself out just after it maps.
    sleep 0.5
    xdotool windowfocus --sync "$open"
    xdotool mousemove --sync --window "$open" 350 320 click --repeat 3 --delay 80 1
    xdotool type --delay 5 "$sample"
    xdotool key Return
    sleep 0.5
    xdotool windowfocus --sync "$main" key ctrl+g
    sleep 1.5   # the generator runs while the window waits
  fi
fi
sleep 0.5   # the last exposure draws after the map
import -window "$main" "$out/xkest-main.png"

xdotool windowfocus --sync "$main" key ctrl+comma
options=$(window "xkest options")
[ -n "$options" ] || { echo "screenshot: the options dialog did not open" >&2; exit 1; }
sleep 0.5
import -window "$options" "$out/xkest-options.png"
import -window root -crop 1000x800+0+0 "$out/xkest-desktop.png"

echo "$out/xkest-main.png"
echo "$out/xkest-options.png"
echo "$out/xkest-desktop.png"
