#!/usr/bin/env bash
# Usage: tools/reproducible.sh SOURCE_DIR CROSS_BUILD_DIR SCRATCH_DIR
# Builds the DLL a second time in a different folder, with the cross build's
# own toolchain, and checks that both builds are byte-identical (no
# timestamps or paths in the PE file).
set -euo pipefail
src=$1 first=$2 scratch=$3
toolchain=$(sed -n 's/^CMAKE_TOOLCHAIN_FILE:[A-Z]*=//p' "$first/CMakeCache.txt")
rm -rf "$scratch"
cmake -S "$src" -B "$scratch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
cmake --build "$scratch" --target VelDialogs >/dev/null
a="$first/bin/VelDialogs.dll" b="$scratch/bin/VelDialogs.dll"
if cmp -s "$a" "$b"; then
  echo "identical: $(sha256sum "$a" | cut -d' ' -f1)"
  rm -rf "$scratch"
else
  echo "the two builds differ:" >&2; cmp -l "$a" "$b" | head >&2; exit 1
fi
