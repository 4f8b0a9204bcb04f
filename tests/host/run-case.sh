#!/usr/bin/env bash
# Usage: run-case.sh WORK_FOLDER EXPECTED_STATUS EXPECTED_FILE VELHOST_ARGS...
# (inside tools/lane-run.sh). Runs the lane's VelHost under Wine from WORK_FOLDER with the autopilot (screenshots in
# a fresh folder) and compares its transcript, stdout and stderr together,
# with EXPECTED_FILE and its exit status with EXPECTED_STATUS. Every
# screenshot that the transcript names must exist and be a PNG.
set -uo pipefail
: "${VEL_LANE_BUILD:?run through make test (tools/with-wine.sh, tools/lane-run.sh)}"
win=$VEL_LANE_BUILD; work=$1; want_status=$2; expected=$3; shift 3
shots=$(mktemp -d "$win/e2e-shots.XXXXXX")
trap 'rm -rf "$shots"' EXIT

cd "$work"
# Wine's drive Z: is the Unix root. No Wine program runs inside a command
# substitution: a Wine service that it starts would hold the pipe open and
# the substitution would wait for good.
shots_win="Z:${shots//\//\\}"
# The host's watchdog ends a stuck run first; this ends a host too stuck for
# it, still before CTest's limit (room for two attempts), so that the
# transcript is shown.
# A run that hangs (the watchdog's status 4, or this limit) is run once more,
# as tools/wine-test.sh does for the test programs, and counted in the lane's
# retry log; one that hangs twice fails.
for attempt in 1 2; do
  timeout -k 5 105 "$WINE" "$win/bin/VelHost.exe" --autopilot --pause 100 --shots "$shots_win" "$@" \
    < /dev/null > "$shots/transcript" 2>&1
  status=$?
  [[ $status -ne 4 && $status -ne 124 && $status -ne 137 ]] && break
  [[ $attempt -eq 2 ]] && break
  line="run-case: retry: VelHost $* in the ${VEL_LANE:-?}-bit lane hung (status $status, attempt $attempt)"
  echo "$line" >&2
  echo "$line" >> "$win/wine-retries.log"
  rm -f "$shots"/*.png
done
[[ $status -eq 124 || $status -eq 137 ]] && echo "VelHost did not end within 105 s"
actual=$(tr -d '\r' < "$shots/transcript" | grep -v 'Read access denied for device')

failed=0
if ! diff -u "$expected" <(printf '%s\n' "$actual"); then
  echo "transcript differs from $expected (- expected, + actual)"; failed=1
fi
if [[ "$status" != "$want_status" ]]; then
  echo "exit status $status, expected $want_status"; failed=1
fi
for shot in $(printf '%s\n' "$actual" | sed -n 's/.*\[shot \([^]]*\)\].*/\1/p'); do
  if [[ "$(head -c 8 "$shots/$shot" 2>/dev/null | od -An -tx1 | tr -d ' \n')" != 89504e470d0a1a0a ]]; then
    echo "screenshot $shot is missing or not a PNG"; failed=1
  fi
done
exit $failed
