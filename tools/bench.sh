#!/usr/bin/env bash
# Usage: tools/bench.sh BUILD_DIR OUTPUT.md  (make bench runs it under tools/with-wine.sh)
# Runs the benchmark program in every lane that this machine runs and writes
# one table per lane, with the machine and the Wine version that produced
# it, to OUTPUT.md and into the README.
set -euo pipefail
: "${VEL_LANES:?run through make bench or tools/with-wine.sh}"
build=$(realpath "$1"); out=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
trap 'rm -f "$out.tmp"' EXIT
{
  echo "Measured $(date -u +%Y-%m-%d) on $(nproc) cores of $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'),"
  echo "$(/usr/lib/wine/wine64 --version) under Xvfb, by \`make bench\`."
  if [[ -n "${VEL_LANES_WHY:-}" ]]; then
    echo "Only the $VEL_LANES-bit lane: $VEL_LANES_WHY."
  else
    echo "Lanes measured: $(echo $VEL_LANES | sed 's/\([0-9]*\)/\1-bit/g; s/ / and /')."
  fi
  for lane in $VEL_LANES; do
    win="$build/win$lane"
    # The soaks alone take about a quarter of an hour.
    ATTEMPT_SECONDS=2400 "$here/lane-run.sh" "$lane" "$win" "$here/wine-test.sh" "$win/bin/vel_bench.exe" bench-table.md >&2
    echo
    echo "$lane-bit lane ($lane-bit host program and DLL):"
    echo
    cat "$win/bin/bench-table.md"
  done
} > "$out.tmp"
mv "$out.tmp" "$out"
echo "written: $out"

# Keep the README's copy of the figures current.
readme="$here/../README.md"
if grep -q '<!-- bench: filled in by make bench -->' "$readme"; then
  python3 - "$readme" "$out" <<'PY'
import re, sys
readme, results = sys.argv[1], sys.argv[2]
text = open(readme).read()
table = open(results).read().strip()
text = re.sub(r'(<!-- bench: filled in by make bench -->\n).*?(\n<!-- /bench -->)',
              lambda m: m.group(1) + table + m.group(2), text, flags=re.S)
open(readme, 'w').write(text)
PY
fi
