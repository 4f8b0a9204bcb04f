#!/usr/bin/env bash
# Usage: tools/dist.sh WIN32_BUILD_DIR WIN64_BUILD_DIR OUTPUT_DIR
# Packs VelDialogs-<version>.zip for script authors: README.txt (CR LF) and
# the 32-bit DLL and stand-in host at the top, the 64-bit ones in x64/ (the
# hosts stripped of their symbols), the host developer's header in
# include/, LICENSE, the examples, and the reference as HTML pages with
# their pictures (index.html, docs/, the changelog and the host's README,
# made from their Markdown by tools/html-pages.py); then a SHA-256 checksum
# file over every other file. With VEL_SIGN_CERT and VEL_SIGN_KEY set, the
# DLLs and hosts are signed first (tools/sign.sh). Beside it, the self-test
# package (tools/selftest-pack.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
win32=$(realpath "$1"); win64=$(realpath "$2"); out=$(realpath -m "$3")
version=$("$here/version.sh")
name="VelDialogs-$version"
stage="$out/$name"
rm -rf "$stage" "$out/$name.zip"
mkdir -p "$stage/x64" "$stage/host" "$stage/include"
cp "$win32/bin/VelDialogs.dll" "$root/CHANGELOG.md" "$root/LICENSE" "$stage/"
# Windows' Notepad before Windows 10 wants CR LF.
sed "s/@VERSION@/$version/g; s/\$/\r/" "$root/release/README.txt" > "$stage/README.txt"
cp "$win64/bin/VelDialogs.dll" "$stage/x64/"
# The DLLs are linked stripped; the hosts keep their symbols in the build for
# debugging and lose them here. Each build's own strip knows its format.
# strip stamps a PE file with the current time unless SOURCE_DATE_EPOCH
# names one: 0, as the linker leaves it (--no-insert-timestamp), so that
# two packs of one build are the same byte for byte.
export SOURCE_DATE_EPOCH=0
strip_tool() { sed -n 's/^CMAKE_STRIP:[A-Z]*=//p' "$1/CMakeCache.txt"; }
"$(strip_tool "$win32")" -o "$stage/VelHost.exe" "$win32/bin/VelHost.exe"
"$(strip_tool "$win64")" -o "$stage/x64/VelHost.exe" "$win64/bin/VelHost.exe"
cp "$root/include/VelDialogs.h" "$stage/include/"
cp "$root/host/README.md" "$stage/host/"
[[ -d "$root/docs" ]] && cp -r "$root/docs" "$stage/docs"
[[ -d "$root/examples" ]] && cp -r "$root/examples" "$stage/examples"
"$here/sign.sh" "$stage/VelDialogs.dll" "$stage/x64/VelDialogs.dll" "$stage/VelHost.exe" "$stage/x64/VelHost.exe"
python3 "$here/html-pages.py" "$stage" "$version"
(cd "$stage" && find . -type f ! -name SHA256SUMS | LC_ALL=C sort | sed 's|^\./||' | xargs sha256sum > SHA256SUMS)
# Fixed timestamps and order, so the archive depends only on its content.
find "$stage" -exec touch -h -d '2000-01-01 00:00:00 UTC' {} +
(cd "$out" && find "$name" | LC_ALL=C sort | TZ=UTC zip -X -q -D "$name.zip" -@)
echo "$out/$name.zip"
"$here/selftest-pack.sh" "$win32" "$win64" "$out"
