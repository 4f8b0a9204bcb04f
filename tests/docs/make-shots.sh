#!/usr/bin/env bash
# Usage: tests/docs/make-shots.sh CROSS_BUILD_DIR   (in a lane: make docs runs it through tools/docs.sh)
# Takes the pictures of docs/images/: the stand-in host's autopilot runs
# reference.vel and opens every editor, saving each window it answers; the
# first picture of each action becomes ACTION.png, each editor's ACTION-editor.png.
# In a prefix of another screen DPI (VEL_DPI) only the editors are taken, as
# ACTION-editor-<DPI>dpi.png: the host is DPI-aware, so they show scaled.
set -euo pipefail
: "${WINE:?run in a lane: make docs (tools/lane-run.sh)}"
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
win=$(realpath "$1")
images="$root/docs/images"
work=$(mktemp -d "$win/docs-shots.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$images"

# The host writes stored (uncompressed) PNGs; packed, without the date
# chunks, a picture changes only when the window does.
pack() { convert "$1" -strip -define png:compression-level=9 -define png:exclude-chunks=date,time "$2"; }

host() { "$WINE" "$win/bin/VelHost.exe" --autopilot --pause 400 "$@" 2>/dev/null | tr -d '\r'; }

suffix=""
[[ -n "${VEL_DPI:-}" && "$VEL_DPI" != 96 ]] && suffix="-${VEL_DPI}dpi"

# "== open file" starts the section whose first picture is open-file.png.
if [[ -z "$suffix" ]]; then
  mkdir "$work/actions"
  (cd "$here" && host --shots "$("$WINE" winepath -w "$work/actions")" script reference.vel) > "$work/transcript"
  section=""
  while IFS= read -r line; do
    if [[ "$line" == "== "* ]]; then section=${line#== }; section=${section// /-}; continue; fi
    shot=$(sed -n 's/.*\[shot \([^]]*\)\].*/\1/p' <<< "$line")
    if [[ -n "$shot" && -n "$section" ]]; then
      pack "$work/actions/$shot" "$images/$section.png"
      echo "docs/images/$section.png  <- $line"
      section=""
    fi
  done < "$work/transcript"
fi

editor() {
  local slug=$1; shift
  mkdir "$work/$slug"
  (cd "$here" && host --shots "$("$WINE" winepath -w "$work/$slug")" "$@") > "$work/$slug.txt"
  pack "$work/$slug/01-editor.png" "$images/$slug-editor$suffix.png"
  echo "docs/images/$slug-editor$suffix.png  <- VelHost $*"
  cat "$work/$slug.txt"
}
editor font edit xr_Dialogs_FontSelector "Tahoma" "10" "Bold" "120" "80"
editor colour edit xr_Dialogs_ColorSelector "100" "50"
editor folder edit xr_Dialogs_FolderSelector "Choose the output folder" "C:\\windows" "-2147483648" "-2147483648"
editor calendar-start --labels reference.vel edit xr_Dialogs_CalendarStart "%Diary%" "10/03/2024" "DD-MM-YYYY" "DatePicked"
editor open-file edit xr_Dialogs_OpenFile "Pick a settings file" "C:\\windows" "Settings|*.ini###All files|*.*" "win.ini"
editor save-file edit xr_Dialogs_SaveFile "Save the report" "C:\\windows\\temp" "report.txt" "Text|*.txt###All files|*.*"
