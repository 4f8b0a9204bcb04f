#!/usr/bin/env bash
# Usage: tools/docs.sh BUILD_DIR   (make docs runs it under tools/with-wine.sh)
# Retakes the reference's pictures with the host and DLL of the first lane
# that runs, then checks the pages against the DLL of every lane that runs.
set -euo pipefail
: "${VEL_LANES:?run through make docs or tools/with-wine.sh}"
build=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
first=${VEL_LANES%% *}
"$here/lane-run.sh" "$first" "$build/win$first" "$root/tests/docs/make-shots.sh" "$build/win$first"
# The editors once more on the lane's 192 DPI screen.
VEL_DPI=192 "$here/lane-run.sh" "$first" "$build/win$first" "$root/tests/docs/make-shots.sh" "$build/win$first"
for lane in $VEL_LANES; do
  "$here/lane-run.sh" "$lane" "$build/win$lane" "$root/tests/docs/check-docs.sh" "$build/win$lane"
done
