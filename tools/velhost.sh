#!/usr/bin/env bash
# Usage: tools/velhost.sh [VelHost arguments...]
# Runs the stand-in host of the build folder (BUILD, default build/ of this
# project) from the current folder under Wine, in the first lane that this
# machine runs: the 32-bit host and DLL where it runs 32-bit programs, the
# 64-bit ones elsewhere (VEL_LANES=32 or 64 chooses). Without a display it
# runs on a private Xvfb, where nobody can answer: add --autopilot there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath -m "${BUILD:-$here/../build}")
if [[ -z "${VEL_LANES:-}" ]]; then
  exec "$here/with-wine.sh" "$build" "$0" "$@"
fi
lane=${VEL_LANES%% *}
. "$here/lane-env.sh" "$lane" "$build/win$lane"
exec "$WINE" "$build/win$lane/bin/VelHost.exe" "$@"
