#!/usr/bin/env bash
# Usage: tools/bench.sh WIN32_BUILD_DIR OUTPUT.md  (inside tools/with-wine.sh)
# Runs the benchmark program and writes its table, with the machine and the
# Wine version that produced it, to OUTPUT.md.
set -euo pipefail
win=$(realpath "$1"); out=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
"$here/wine-test.sh" "$win/bin/vel_bench.exe" bench-table.md
{
  echo "Measured $(date -u +%Y-%m-%d) on $(nproc) cores of $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'),"
  echo "$(wine --version) under Xvfb, by \`make bench\`."
  echo
  cat "$win/bin/bench-table.md"
} > "$out"
echo "written: $out"
