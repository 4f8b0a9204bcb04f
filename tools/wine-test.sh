#!/usr/bin/env bash
# Runs one Wine test program from its own folder (next to VelDialogs.dll).
# Needs WINEPREFIX and DISPLAY, as tools/with-wine.sh sets them.
set -euo pipefail
: "${WINEPREFIX:?run the Wine tests through make test or tools/with-wine.sh}"
: "${DISPLAY:?run the Wine tests through make test or tools/with-wine.sh}"
exe=$1; shift
cd "$(dirname "$exe")"
# A test program that hangs is stopped after ATTEMPT_SECONDS and, once, run
# again: on a loaded machine Wine has been seen to stall a fresh process
# before its first window. A program that fails (rather than hangs) is never
# run again, and one that hangs twice fails.
attempt_seconds=${ATTEMPT_SECONDS:-240}
for attempt in 1 2; do
  set +e
  timeout -k 10 "$attempt_seconds" wine "$(basename "$exe")" "$@"
  status=$?
  set -e
  [[ $status -ne 124 && $status -ne 137 ]] && exit $status
  echo "wine-test: $(basename "$exe") hung for ${attempt_seconds} s (attempt $attempt)" >&2
done
exit 124
