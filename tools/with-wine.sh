#!/usr/bin/env bash
# Usage: tools/with-wine.sh BUILD_DIR COMMAND [ARGS...]
# Runs COMMAND with a 32-bit Wine prefix inside BUILD_DIR and an X display:
# the caller's display when there is one, otherwise a private Xvfb that is
# stopped again when COMMAND ends.
set -euo pipefail
build=$(realpath -m "$1"); shift
here=$(cd "$(dirname "$0")" && pwd)

export WINEPREFIX="$build/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
# Keep Wine from offering to install Mono and Gecko into a fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT

if [[ -z "${DISPLAY:-}" ]]; then
  for n in $(seq 91 199); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 50); do [[ -e /tmp/.X11-unix/X$n ]] && break; sleep 0.1; done
    sleep 0.3  # a server that lost the race for this display has exited by now
    if kill -0 "$xvfb_pid" 2>/dev/null && [[ -e /tmp/.X11-unix/X$n ]]; then
      export DISPLAY=":$n"; break
    fi
    xvfb_pid=""
  done
  [[ -n "${DISPLAY:-}" ]] || { echo "error: could not start Xvfb" >&2; exit 1; }
fi

"$here/wine-prefix.sh"
"$@"
