#!/usr/bin/env bash
# The monkey soak: the sanitizer build of xkest under Xvfb and a real window
# manager (mwm for even seeds, openbox for odd ones; MONKEY_WM overrides),
# driven by random user input for SECONDS (tests/gui/monkey.py says what it
# sends and what fails it). The same seed repeats the run's choices; the
# seed is printed. Logs go to MONKEY_LOG_DIR (default build-robust/monkey).
#
#   scripts/monkey.sh 1800 4711
#
# Random input reaches file dialogs, which can save anywhere they can
# browse to, and command fields that run through the shell. So the run
# gets a private mount namespace: its own /tmp (which also keeps the shared
# report file /tmp/kestout.txt apart from other runs) and every other folder
# read-only, except the log folder. A checkout, build or log folder under
# /tmp stays where it is, read-only but the log folder, and out of the watch.
#
# MONKEY_NO_BUILD=1 skips the build: ROBUST_BUILD_DIR must then hold xkest,
# kestb/kestb and tests/monkey_x already.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd -P)
build=${ROBUST_BUILD_DIR:-$here/build-robust}
seconds=${1:?usage: scripts/monkey.sh SECONDS [SEED]}
seed=${2:-$(( $(od -An -N2 -tu2 /dev/urandom) ))}
if (( seed % 2 == 0 )); then wm=${MONKEY_WM:-mwm}; else wm=${MONKEY_WM:-openbox}; fi
logdir=${MONKEY_LOG_DIR:-$build/monkey}

# kept_under ROOT: the folders the run needs (sources, build, log folder)
# that lie under ROOT, as physical paths, one a line.
kept_under() {
  local dir
  for dir in "$here" "$build" "$logdir"; do
    dir=$(realpath -- "$dir")
    case $dir/ in "$1"/*) printf '%s\n' "$dir" ;; esac
  done
}

if [ -z "${MONKEY_INSIDE:-}" ]; then
  # Incremental: after scripts/ci-robustness.sh this builds nothing.
  [ -n "${MONKEY_NO_BUILD:-}" ] || "$here/scripts/robust-build.sh" xkest kestb monkey_x
  rm -rf "$logdir"
  mkdir -p "$logdir"
  logdir=$(realpath -- "$logdir")
  export MONKEY_INSIDE=1 MONKEY_LOG_DIR=$logdir ROBUST_BUILD_DIR=$build MONKEY_WM=$wm
  for ns in "--user --map-root-user" ""; do
    # shellcheck disable=SC2086
    if unshare $ns --mount --net --propagation private true 2>/dev/null; then
      exec unshare $ns --mount --net --propagation private "$0" "$seconds" "$seed"
    fi
  done
  echo "monkey: no private mount namespace can be made here; running without one" >&2
  MONKEY_INSIDE=unconfined exec "$0" "$seconds" "$seed"
fi

if [ "$MONKEY_INSIDE" = 1 ]; then
  # A tmpfs over /tmp would hide whatever of the run lives there. So the
  # new /tmp is made aside (in the log folder, which is ours), those
  # folders are bound into it at their own paths, and it is moved over /tmp.
  stage=$logdir/.private-tmp
  mkdir "$stage"
  mount -t tmpfs -o mode=1777 tmpfs "$stage"
  while read -r dir; do
    mkdir -p "$stage${dir#/tmp}"
    # Not --rbind: that would copy the stage, mounted inside, into itself.
    mount --bind "$dir" "$stage${dir#/tmp}"
  done < <(kept_under /tmp)
  mount --move "$stage" /tmp
  rmdir "$stage"
  mount --bind "$logdir" "$logdir"
  # Deepest first, so a folder's own mount is changed before the one above.
  awk '{print $5}' /proc/self/mountinfo | sort -ru | while read -r mp; do
    case "$mp" in /tmp|"$logdir") continue ;; esac
    mount -o remount,bind,ro "$mp" 2>/dev/null || true
  done
  MONKEY_ROOT=/tmp MONKEY_INSIDE=display exec "$here/scripts/with-xvfb.sh" "$0" "$seconds" "$seed"
elif [ "$MONKEY_INSIDE" = unconfined ]; then
  MONKEY_ROOT=$(mktemp -d)
  export MONKEY_ROOT
  status=0
  MONKEY_INSIDE=display "$here/scripts/with-xvfb.sh" "$0" "$seconds" "$seed" || status=$?
  rm -rf "$MONKEY_ROOT"
  exit $status
fi

# On the private display: the window manager, then the monkey.
scratch_root=$MONKEY_ROOT
mkdir -p "$scratch_root/wm-home"
HOME=$scratch_root/wm-home "$wm" >"$logdir/wm.log" 2>&1 &
wm_pid=$!
case $wm in
  mwm) ready=_MOTIF_WM_INFO ;;
  *) ready=_NET_SUPPORTING_WM_CHECK ;;
esac
up=""
for _ in $(seq 200); do
  case $(xprop -root "$ready" 2>/dev/null) in "" | *"not found"*) ;; *) up=1; break ;; esac
  sleep 0.1
done
if [ -z "$up" ]; then
  kill -0 "$wm_pid" 2>/dev/null || echo "monkey: the window manager has ended" >&2
  echo "monkey: the window manager $wm did not start (see $logdir/wm.log)" >&2
  kill -KILL "$wm_pid" 2>/dev/null || true
  exit 1
fi

unwatched=()
while read -r dir; do unwatched+=(--unwatched "$dir"); done < <(kept_under "$scratch_root")
status=0
python3 "$here/tests/gui/monkey.py" --seconds "$seconds" --seed "$seed" --wm "$wm" \
  --build "$build" --source "$here" --log "$logdir" --root "$scratch_root" "${unwatched[@]}" ||
  status=$?
# mwm waits on its display after SIGTERM; nothing of the window manager's
# is worth keeping.
{ kill -KILL "$wm_pid"; wait "$wm_pid"; } 2>/dev/null || true
exit $status
