#!/usr/bin/env bash
# Usage: tools/selftest-pack.sh WIN32_BUILD_DIR WIN64_BUILD_DIR OUTPUT_DIR
# Packs VelDialogs-<version>-selftest.zip: VelSelfTest.exe (32-bit) and
# VelSelfTest64.exe (for a Windows that runs no 32-bit programs) at the top,
# README.txt, and win32\ and win64\ each with the DLL of that build and the
# Wine test programs that the build lists in bin/wine-tests.txt (the same
# programs that make test runs in that lane), stripped; with VEL_SIGN_CERT
# and VEL_SIGN_KEY set, the runners and DLLs signed (tools/sign.sh). Either
# build folder may be "-" when that build is not there: its folder is then
# left out.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out=$(realpath -m "$3")
version=$("$here/version.sh")
name="VelDialogs-$version-selftest"
stage="$out/$name"
rm -rf "$stage" "$out/$name.zip"
mkdir -p "$stage"

# strip stamps a PE file with the current time unless SOURCE_DATE_EPOCH
# names one: 0, as the linker leaves it (--no-insert-timestamp), so that
# two packs of one build are the same byte for byte.
export SOURCE_DATE_EPOCH=0
strip_tool() { sed -n 's/^CMAKE_STRIP:[A-Z]*=//p' "$1/CMakeCache.txt"; }
lane_folder() {  # BUILD_DIR FOLDER_NAME RUNNER_NAME
  local build=$1 folder=$2 runner=$3 strip program
  [[ "$build" == - ]] && return 0
  build=$(realpath "$build")
  strip=$(strip_tool "$build")
  mkdir -p "$stage/$folder"
  cp "$build/bin/VelDialogs.dll" "$stage/$folder/"
  while read -r program; do
    [[ -n "$program" ]] || continue
    "$strip" -o "$stage/$folder/$program.exe" "$build/bin/$program.exe"
  done < "$build/bin/wine-tests.txt"
  "$strip" -o "$stage/$runner.exe" "$build/bin/$runner.exe"
  # The runner and the DLL it checks are released files: signed like the
  # release's when VEL_SIGN_CERT and VEL_SIGN_KEY are set.
  "$here/sign.sh" "$stage/$runner.exe" "$stage/$folder/VelDialogs.dll"
}
lane_folder "$1" win32 VelSelfTest
lane_folder "$2" win64 VelSelfTest64
# Windows' Notepad before Windows 10 wants CR LF.
sed 's/$/\r/' "$root/tests/selftest/README.txt" > "$stage/README.txt"
find "$stage" -exec touch -h -d '2000-01-01 00:00:00 UTC' {} +
(cd "$out" && find "$name" | LC_ALL=C sort | TZ=UTC zip -X -q -D "$name.zip" -@)
echo "$out/$name.zip"
