#!/usr/bin/env bash
# Usage: tools/demo.sh BUILD_DIR   (make demo runs it through tools/with-wine.sh)
# Runs examples/tour.vel in the stand-in host and prints every variable that
# the plug-in writes: with the 32-bit host and DLL where this machine runs
# 32-bit programs, with the 64-bit ones elsewhere (the first line says
# which). Without a desktop (the display is an Xvfb, as with-wine.sh starts
# when there is none) the autopilot answers each window and saves its
# screenshot under BUILD/demo-shots; on a desktop you answer.
# VEL_AUTOPILOT=1 or 0 overrides the choice.
set -euo pipefail
: "${VEL_LANES:?run the demo through make demo or tools/with-wine.sh}"
build=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
lane=${VEL_LANES%% *}
win="$build/win$lane"
. "$here/lane-env.sh" "$lane" "$win"
shots="$build/demo-shots"
if [[ -n "${VEL_LANES_WHY:-}" ]]; then
  echo "VelDialogs demo with the $lane-bit host and DLL ($VEL_LANES_WHY)"
else
  echo "VelDialogs demo with the $lane-bit host and DLL"
fi

# True when the X server behind DISPLAY is an Xvfb on this machine.
headless() {
  local n=${DISPLAY#*:}; n=${n%%.*}
  [[ "${DISPLAY%%:*}" == "" && -r /tmp/.X$n-lock ]] || return 1
  local pid; pid=$(tr -d ' \n' < /tmp/.X$n-lock)
  [[ "$(cat /proc/$pid/comm 2>/dev/null)" == Xvfb ]]
}

autopilot=${VEL_AUTOPILOT:-}
if [[ -z "$autopilot" ]]; then headless && autopilot=1 || autopilot=0; fi

args=()
if [[ "$autopilot" == 1 ]]; then
  rm -rf "$shots" && mkdir -p "$shots"
  args=(--autopilot --shots "$("$WINE" winepath -w "$shots")")
  echo "No desktop: the autopilot answers every window; screenshots go to $shots"
else
  echo "Answer each dialog yourself; pick a day in the calendar (or close its window)."
fi

cd "$root/examples"
# Wine's note about the Z: drive's volume label is noise here.
"$WINE" "$win/bin/VelHost.exe" "${args[@]}" script tour.vel 2>&1 |
  tr -d '\r' | grep -v 'Read access denied for device'
if [[ "$autopilot" == 1 ]]; then
  echo "Screenshots:"
  ls -1 "$shots"
fi
