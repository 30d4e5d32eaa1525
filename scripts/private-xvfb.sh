# Sourced by the scripts that start a private X server. xk_start_xvfb starts
# Xvfb and exports its DISPLAY; the server, every process handed to
# xk_stop_on_exit and every path handed to xk_remove_on_exit go on every way
# out of the sourcing script (its end, an error, Ctrl-C, kill), so no server
# or program outlives the run.
#
#   source "$here/scripts/private-xvfb.sh"
#   xk_start_xvfb || exit 1
#   "$build/xkest" & xk_stop_on_exit $!
xk_stop_pids=()
xk_remove_paths=()

# Programs first, newest first, then their server; then the files.
xk_stop_all() {
  local pid
  for pid in "${xk_stop_pids[@]}"; do kill -TERM -- "$pid" 2>/dev/null || true; done
  for pid in "${xk_stop_pids[@]}"; do wait "${pid#-}" 2>/dev/null || true; done
  [ ${#xk_remove_paths[@]} -eq 0 ] || rm -rf -- "${xk_remove_paths[@]}"
}
trap xk_stop_all EXIT
# A signal ends the script at once (through the EXIT trap), not after the
# command it is waiting for.
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# xk_stop_on_exit PID: stop that process on exit; -PID stops its process
# group.
xk_stop_on_exit() { xk_stop_pids=("$1" "${xk_stop_pids[@]}"); }
xk_remove_on_exit() { xk_remove_paths+=("$@"); }

# xk_start_xvfb [Xvfb option...]: starts the server on a free display and
# waits (at most 20 s) until it accepts clients. Fails when it did not.
xk_start_xvfb() {
  local fifo num=""
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  xk_remove_on_exit "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp "$@" 3>"$fifo" >/dev/null 2>&1 &
  xk_stop_pids+=($!)   # the server goes after every program on it
  read -r -t 20 num <"$fifo" || true
  rm -f "$fifo"
  [ -n "$num" ] || return 1
  export DISPLAY=":$num"
}
