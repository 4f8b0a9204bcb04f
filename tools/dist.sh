#!/usr/bin/env bash
# Usage: tools/dist.sh WIN32_BUILD_DIR OUTPUT_DIR
# Packs VelDialogs-<version>.zip: the DLL, README, LICENSE, the reference
# pages with their pictures, the examples, and a SHA-256 checksum file.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
win=$(realpath "$1"); out=$(realpath -m "$2")
version=$("$here/version.sh")
name="VelDialogs-$version"
stage="$out/$name"
rm -rf "$stage" "$out/$name.zip"
mkdir -p "$stage"
cp "$win/bin/VelDialogs.dll" "$root/README.md" "$root/LICENSE" "$stage/"
[[ -d "$root/docs" ]] && cp -r "$root/docs" "$stage/docs"
[[ -d "$root/examples" ]] && cp -r "$root/examples" "$stage/examples"
(cd "$stage" && find . -type f ! -name SHA256SUMS | sort | sed 's|^\./||' | xargs sha256sum > SHA256SUMS)
# Fixed timestamps and order, so the archive depends only on its content.
find "$stage" -exec touch -h -d '2000-01-01 00:00:00 UTC' {} +
(cd "$out" && find "$name" | LC_ALL=C sort | TZ=UTC zip -X -q -D "$name.zip" -@)
echo "$out/$name.zip"
