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
