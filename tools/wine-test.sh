#!/usr/bin/env bash
# Runs one Wine test program from its own folder (next to VelDialogs.dll).
# Needs WINEPREFIX and DISPLAY, as tools/with-wine.sh sets them.
set -euo pipefail
: "${WINEPREFIX:?run the Wine tests through make test or tools/with-wine.sh}"
: "${DISPLAY:?run the Wine tests through make test or tools/with-wine.sh}"
exe=$1; shift
cd "$(dirname "$exe")"
exec wine "$(basename "$exe")" "$@"
