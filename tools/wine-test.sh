#!/usr/bin/env bash
# Usage: tools/wine-test.sh PROGRAM.exe [ARGS...]
# Runs one Wine test program from its own folder (next to VelDialogs.dll), in
# the lane that tools/lane-run.sh set up.
set -euo pipefail
: "${WINEPREFIX:?run the Wine tests through make test (tools/with-wine.sh, tools/lane-run.sh)}"
: "${DISPLAY:?run the Wine tests through make test (tools/with-wine.sh, tools/lane-run.sh)}"
: "${WINE:=wine}"
exe=$1; shift
cd "$(dirname "$exe")"
# A program that hangs is stopped after ATTEMPT_SECONDS and run once more; one
# that fails (rather than hangs) is never run again, and one that hangs twice
# fails. Every retry is a line here, which CTest keeps in its log, and in the
# lane's retry log, which make test sums up, so that retries can be counted.
attempt_seconds=${ATTEMPT_SECONDS:-240}
for attempt in 1 2; do
  set +e
  timeout -k 10 "$attempt_seconds" "$WINE" "$(basename "$exe")" "$@"
  status=$?
  set -e
  [[ $status -ne 124 && $status -ne 137 ]] && exit $status
  line="wine-test: retry: $(basename "$exe") in the ${VEL_LANE:-?}-bit lane hung for ${attempt_seconds} s (attempt $attempt)"
  echo "$line" >&2
  [[ -n "${VEL_LANE_BUILD:-}" ]] && echo "$line" >> "$VEL_LANE_BUILD/wine-retries.log"
done
exit 124
