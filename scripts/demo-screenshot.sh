#!/usr/bin/env bash
# Plays the demo on a private Xvfb and writes a PNG of xkest's main window
# after a generator run with errors: the sample model, opened through the
# Open dialog, gets two mistakes typed in (a reserved word as a field
# name and an unknown type); it is saved and generated, the first error's
# line number is selected in the report and Go to DSM Line selects that
# DSM line. Prints the PNG's path. Builds first when the program is
# missing. Output file: $1, default build/screenshots/xkest-errors.png.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/xkest-env.sh"
[ -x "$build/xkest" ] && [ -x "$build/kestb/kestb" ] || "$here/scripts/build.sh"
shot=${1:-$build/screenshots/xkest-errors.png}
mkdir -p "$(dirname "$shot")"

fail() { echo "demo-screenshot: $*" >&2; exit 1; }

source "$here/scripts/private-xvfb.sh"
work=$(mktemp -d)
xk_remove_on_exit "$work"
xk_start_xvfb || fail "the private X server did not start"

# Waits up to 20 s for cmd to succeed.
wait_for() {
  for _ in $(seq 200); do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  return 1
}
window() { timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -1; }
line_of() { grep -n -x -F -- "$1" "$2" | head -1 | cut -d: -f1; }

# The sample model in a folder of its own, generated into another.
mkdir -p "$work/out"
dsm=$work/shop.dsm
cp "$KESTHOME/shop.dsm" "$dsm"
bad_type=$(line_of '  city   : string;' "$dsm")
bad_name=$(line_of '  paid     : bool;' "$dsm")
[ -n "$bad_type" ] && [ -n "$bad_name" ] || fail "the sample model has changed; pick other lines"

(cd "$work" && LC_ALL=C exec "$build/xkest" -outdir "$work/out" -summary "$@") >/dev/null 2>&1 &
xk_stop_on_exit $!
main=$(window xkest)
[ -n "$main" ] || fail "xkest showed no window"
read -r width height < <(xwininfo -id "$main" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w, h}')

# File > Open, the path typed over the folder in the selection field.
xdotool windowfocus --sync "$main" key ctrl+o
open=$(window "Open DSM file")
[ -n "$open" ] || fail "the Open dialog did not appear"
xdotool windowfocus --sync "$open" key End
xdotool key --delay 2 --repeat 80 BackSpace
xdotool type --delay 5 "$dsm"
xdotool key Return

# Type the two mistakes: the later line first, so the earlier one's
# position stays put. Ctrl+Home goes to the top of the DSM text.
xdotool mousemove --window "$main" $((width / 2)) $((height / 4)) click 1
xdotool windowfocus --sync "$main"
xdotool key ctrl+Home
xdotool key --delay 2 --repeat $((bad_type - 1)) Down
xdotool key End key --delay 5 --repeat 7 BackSpace
xdotool type --delay 10 'strng;'
xdotool key ctrl+Home
xdotool key --delay 2 --repeat $((bad_name - 1)) Down
xdotool key Home key --delay 5 --repeat 6 Right key --delay 5 --repeat 4 BackSpace
xdotool type --delay 10 'case'
xdotool key ctrl+s
wait_for grep -q 'strng' "$dsm" || fail "the model was not saved"
xdotool key ctrl+Home ctrl+g

# xkest reads the report from this file once the generator has ended.
wait_for grep -q -F "$dsm:" /tmp/kestout.txt || fail "the generator's report did not appear"

# Select the first error's line number in the report with the keyboard
# (Up, since Ctrl+Home belongs to the DSM text), then choose Go to DSM
# Line from the report's popup menu: press, drag onto it, release.
rx=$((width / 2))
ry=$((height - 50))
xdotool mousemove --window "$main" $rx $ry click 1
xdotool key --delay 2 --repeat 40 Up key Home
xdotool key --delay 2 --repeat $((${#dsm} + 1)) Right
xdotool key --delay 10 --repeat ${#bad_name} shift+Right
xdotool mousemove --window "$main" $rx $ry mousedown 3
read -r ox oy < <(xwininfo -id "$main" | awk '/Absolute upper-left X:/{x=$4} /Absolute upper-left Y:/{y=$4} END{print x, y}')
# The menu is an unnamed top-level window with its corner at the pointer.
menu=""
viewable() { xwininfo -id "$1" | grep -q 'Map State: IsViewable'; }
find_menu() {
  local id
  for id in $(xwininfo -root -children | grep -F -- "+$((ox + rx))+$((oy + ry)) " |
              grep -F 'has no name' | awk '{print $1}'); do
    if viewable "$id"; then menu=$id; return 0; fi
  done
  return 1
}
wait_for find_menu || { xdotool mouseup 3; fail "the report's menu did not appear"; }
menu_h=$(xwininfo -id "$menu" | awk '/Height:/{print $2}')
xdotool mousemove $((ox + rx + 40)) $((oy + ry + menu_h / 6)) sleep 0.2 mouseup 3
wait_for eval '! viewable "$menu"' || fail "the report's menu stayed"

# Park the pointer off the window and let the last changes draw.
xdotool mousemove 1200 1000
sleep 0.5
import -window "$main" "$shot"
echo "$shot"
