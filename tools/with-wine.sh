#!/usr/bin/env bash
# Usage: tools/with-wine.sh BUILD_DIR COMMAND [ARGS...]
# Runs COMMAND with an X display and a ready Wine prefix for each lane that
# this machine runs (tools/lanes.sh), in BUILD_DIR/win32 and BUILD_DIR/win64.
# Without a display, xvfb-run starts a private Xvfb on a free display and
# stops it when COMMAND ends. VEL_LANES holds the lanes that run and
# VEL_LANES_WHY why a lane is left out. Each lane has a second prefix whose
# screen has 192 DPI, for the editors' scaling (tests/wine/register). Wine
# runs in a UTF-8 locale, the caller's own where it has one
# (tools/wine-locale.sh).
set -euo pipefail
build=$(realpath -m "$1"); shift
here=$(cd "$(dirname "$0")" && pwd)

# A display number is free when no lock file, socket file or abstract socket
# names it. xvfb-run -a looks at lock files only, and in a chroot or
# container with its own /tmp it would take a number whose abstract socket
# an X server outside already holds, since those are shared with the host.
display_taken() {
  [[ -e /tmp/.X$1-lock || -e /tmp/.X11-unix/X$1 ]] ||
    grep -q "@/tmp/.X11-unix/X$1\$" /proc/net/unix 2>/dev/null
}
if [[ -z "${DISPLAY:-}" ]]; then
  display=99
  while display_taken "$display"; do display=$((display + 1)); done
  exec xvfb-run -a -n "$display" -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$build" "$@"
fi

. "$here/wine-locale.sh"
high_dpi=192
VEL_LANES=$("$here/lanes.sh")
VEL_LANES_WHY=$("$here/lanes.sh" --why)
export VEL_LANES VEL_LANES_WHY

# One server per lane for the whole command, with Wine's own services started
# up front with no output: a service that the first test program started
# would hold that test's output open, and a server that exits between two
# programs makes the second one wait for a fresh start.
start_server() {
  "$VEL_WINESERVER" -p </dev/null >/dev/null 2>&1
  "$WINE" wineboot >/dev/null 2>&1 </dev/null || true
}
stop_servers() {
  for lane in $VEL_LANES; do
    for dpi in 96 "$high_dpi"; do
      (VEL_DPI=$dpi && . "$here/lane-env.sh" "$lane" "$build/win$lane" &&
       "$VEL_WINESERVER" -k >/dev/null 2>&1) || true
    done
  done
}
trap stop_servers EXIT

for lane in $VEL_LANES; do
  for dpi in 96 "$high_dpi"; do
    (export VEL_DPI=$dpi && . "$here/lane-env.sh" "$lane" "$build/win$lane" &&
     "$here/wine-prefix.sh" && start_server)
  done
done
"$@"
