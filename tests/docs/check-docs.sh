#!/usr/bin/env bash
# Usage: tests/docs/check-docs.sh CROSS_BUILD_DIR   (in a lane: tools/lane-run.sh)
# Runs the DLL of the cross build in the stand-in host (its catalogue, its
# list, and reference.vel with the autopilot) and checks that the pages in
# docs/ quote the hints, names and orders of variables that it shows, and
# that the README quotes the demo and its and engineering/'s links hold.
set -uo pipefail
: "${WINE:?run in a lane: make test, make docs (tools/lane-run.sh)}"
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
win=$(realpath "$1")
work=$(mktemp -d "$win/docs-check.XXXXXX")
trap 'rm -rf "$work"' EXIT

host() { "$WINE" "$win/bin/VelHost.exe" "$@" 2>/dev/null | tr -d '\r'; }

"$WINE" "$win/bin/catalogue_dump.exe" "$("$WINE" winepath -w "$win/bin/VelDialogs.dll")" 2>/dev/null \
  | tr -d '\r' > "$work/catalogue" || { echo "catalogue_dump failed"; exit 1; }
host list > "$work/list" || { echo "VelHost list failed"; exit 1; }
(cd "$here" && host --autopilot --pause 50 script reference.vel) > "$work/transcript" \
  || { echo "VelHost script reference.vel failed:"; cat "$work/transcript"; exit 1; }

python3 "$here/check_pages.py" "$work/catalogue" "$work/list" "$work/transcript" "$root"/docs/*.md
pages=$?
python3 "$here/check_readme.py" "$root/README.md" "$root/tests/host/expected/example_tour.txt" \
  "$root"/engineering/*.md
readme=$?
exit $(( pages || readme ))
