#!/usr/bin/env bash
# CI package step, after scripts/test.sh: packs the build folder that
# command built (scripts/package.sh; nothing is compiled again), checks the
# package with lintian (an error fails, warnings are listed), installs it
# with apt-get, starts the installed xkest on a private Xvfb with the
# installed demo home and checks its main window on a screenshot, runs the
# installed kestb on the demo model, then purges the package and checks that
# nothing it installed is left.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
fail() { echo "ci-package: $*" >&2; exit 1; }
start=$(date +%s)

if dpkg-query -W -f='${Status}' xkest 2>/dev/null | grep -q 'install ok installed'; then
  echo "ci-package: an xkest package is installed already; purging it first"
  $sudo apt-get purge -y -qq xkest >/dev/null
fi

deb=$("$here/scripts/package.sh" | tail -n 1)
echo "ci-package: built $deb in $(( $(date +%s) - start )) s"

lintian_out=$(lintian --fail-on error --display-level '>=warning' "$deb") ||
  { echo "$lintian_out"; fail "lintian reports errors"; }
[ -z "$lintian_out" ] && echo "ci-package: lintian: no errors, no warnings" ||
  { echo "ci-package: lintian warnings:"; echo "$lintian_out"; }

work=$(mktemp -d)
cleanup() {
  [ -z "${installed:-}" ] || $sudo apt-get purge -y -qq xkest >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

# What the package holds and, of that, what was on the machine before it
# (shared folders such as /usr/bin): only the rest must go with it.
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -e 's|^\./|/|' -e 's|/$||' -e '/^$/d' >"$work/contents"
while read -r path; do
  if [ -e "$path" ] || [ -L "$path" ]; then echo "$path"; fi
done <"$work/contents" >"$work/there-before"

(cd "$(dirname "$deb")" && $sudo apt-get install -y -qq "./$(basename "$deb")" >"$work/apt.log" 2>&1) ||
  { cat "$work/apt.log"; fail "apt-get could not install $deb"; }
installed=1
dpkg -L xkest | grep -v -x -F /. >"$work/installed"
depends=$(dpkg-query -W -f='${Depends}' xkest)
echo "ci-package: installed; depends on: $depends"
case $depends in *libxm4*) ;; *) fail "the package does not depend on Motif's runtime library" ;; esac
home=/usr/share/xkest/demo-home
for f in /usr/bin/xkest /usr/bin/kestb /etc/X11/app-defaults/xkest /usr/share/man/man1/xkest.1.gz \
  /usr/share/man/man1/kestb.1.gz /usr/share/applications/xkest.desktop /usr/share/doc/xkest/copyright \
  "$home/shop.dsm"; do
  grep -q -x -F "$f" "$work/installed" || fail "the package did not install $f"
done

# The installed program on its own: its app-defaults file from /etc, kestb
# from /usr/bin, nothing of the checkout.
(
  source "$here/scripts/private-xvfb.sh"
  xk_start_xvfb || fail "the private X server did not start"
  mkdir -p "$work/home" "$work/out"
  (cd "$work" && exec env -i DISPLAY="$DISPLAY" HOME="$work/home" PATH=/usr/bin:/bin LANG=C.UTF-8 \
    KESTHOME="$home" /usr/bin/xkest -outdir "$work/out" >"$work/xkest.log" 2>&1) &
  xk_stop_on_exit $!
  main=$(timeout 20 xdotool search --sync --onlyvisible --name '^xkest$' | head -n 1) || true
  [ -n "$main" ] || { cat "$work/xkest.log"; fail "the installed xkest showed no main window"; }
  # The interface is built from the installed resources: a main window of
  # a few widgets (menu bar, text, report, buttons) has many subwindows.
  subwindows=$(xwininfo -tree -id "$main" | grep -c '^ *0x')
  [ "$subwindows" -ge 20 ] ||
    { cat "$work/xkest.log"; fail "the main window holds $subwindows windows: its interface was not built"; }
  sleep 0.5   # the last exposure draws after the map
  shot=$build/package/xkest-installed.png
  import -window "$main" "$shot"
  read -r width height colours < <(identify -format '%w %h %k\n' "$shot")
  [ "$width" -ge 300 ] && [ "$height" -ge 200 ] && [ "$colours" -ge 8 ] ||
    fail "the screenshot $shot is ${width}x$height with $colours colours: not the main window"
  echo "ci-package: the installed xkest shows its main window (${width}x$height, $colours colours): $shot"
)

mkdir -p "$work/gen"
report=$(/usr/bin/kestb "$home/shop.dsm" "$home/templates/cpp_std.tem" "$work/gen" -nb 2>&1) ||
  { echo "$report"; fail "the installed kestb failed on the demo model"; }
echo "ci-package: installed kestb: $(tail -n 1 <<<"$report")"
ls "$work/gen"/*.h >/dev/null 2>&1 || { echo "$report"; fail "the installed kestb wrote no header"; }

$sudo apt-get purge -y -qq xkest >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get could not remove xkest"; }
installed=""
left=()
while read -r path; do
  if { [ -e "$path" ] || [ -L "$path" ]; } && ! grep -q -x -F "$path" "$work/there-before"; then
    left+=("$path")
  fi
done <"$work/installed"
[ ${#left[@]} -eq 0 ] || fail "left after removal: ${left[*]}"
echo "ci-package: removed; nothing it installed is left ($(wc -l <"$work/installed") paths)"
echo "ci-package: done in $(( $(date +%s) - start )) s"
