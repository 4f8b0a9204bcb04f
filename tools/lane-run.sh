#!/usr/bin/env bash
# Usage: tools/lane-run.sh LANE LANE_BUILD_DIR COMMAND [ARGS...]
# Runs COMMAND in one Wine lane (see tools/lane-env.sh). Where this run leaves
# the lane out (tools/lanes.sh), it says why and exits 77, which CTest reports
# as skipped rather than passed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lane=$1 lane_build=$2; shift 2
lanes=${VEL_LANES:-$("$here/lanes.sh")}
if [[ " $lanes " != *" $lane "* ]]; then
  echo "skipped: ${VEL_LANES_WHY:-$("$here/lanes.sh" --why)}: the $lane-bit lane does not run"
  exit 77
fi
. "$here/lane-env.sh" "$lane" "$lane_build"
exec "$@"
