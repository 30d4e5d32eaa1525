# Sourced by run.sh, screenshot.sh and the tests' helpers: the environment in
# which a built-but-not-installed xkest finds its app-defaults file (this
# source tree's app/xkest.ad), a kest home (the bundled demo unless KESTHOME
# is set) and the kestb generator of the build folder.
here=${here:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
build=${BUILD_DIR:-$here/build}
export KESTHOME=${KESTHOME-$here/demo-home}
# The toolkit's own search path follows ours, so every other app-defaults
# file is still found where the system keeps it.
xk_sys_path=/etc/X11/%L/%T/%N%C%S:/etc/X11/%l/%T/%N%C%S:/etc/X11/%T/%N%C%S:/etc/X11/%L/%T/%N%S:/etc/X11/%l/%T/%N%S:/etc/X11/%T/%N%S:/usr/share/X11/%T/%N%S
export XFILESEARCHPATH="$here/app/%N.ad:${XFILESEARCHPATH:-$xk_sys_path}"
# kestb is built in its own folder of the build tree.
export PATH="$build/kestb:$build:$PATH"
