#!/usr/bin/env bash
# Usage: tools/bench.sh BUILD_DIR OUTPUT.md  (make bench runs it under tools/with-wine.sh)
# VEL_SOAK_SECONDS sets each soak's time budget (default 600; see
# tools/soak-budget.sh).
# Runs the benchmark program in every lane that this machine runs and writes
# one table per lane, with the machine and the Wine version that produced
# it, to OUTPUT.md and into engineering/figures.md.
set -euo pipefail
: "${VEL_LANES:?run through make bench or tools/with-wine.sh}"
build=$(realpath "$1"); out=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
trap 'rm -f "$out.tmp"' EXIT
soak_seconds=$("$here/soak-budget.sh")
# Two soaks at their budget plus the other measures, which take a few minutes.
lane_limit=$(awk -v s="$soak_seconds" 'BEGIN { printf "%d", 2 * s + 1200 }')
echo "each soak's budget: $soak_seconds s; each lane's limit: $lane_limit s" >&2
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
    # Each soak stops at its time budget (VEL_SOAK_SECONDS, 600 s by
    # default), so a lane ends within lane_limit on any machine. One that
    # still runs past it is stopped and said to have overrun, not to have
    # hung, and is not started again: a second run would only double it.
    started=$SECONDS
    set +e
    "$here/lane-run.sh" "$lane" "$win" bash -c 'cd "$1" && exec timeout -k 10 "$2" "$WINE" vel_bench.exe bench-table.md "$3"' \
      bench "$win/bin" "$lane_limit" "$soak_seconds" >&2
    status=$?
    set -e
    if [[ $status -eq 124 || $status -eq 137 ]]; then
      echo "error: the $lane-bit lane's bench ran past its $lane_limit s limit and was stopped;" \
           "each soak's budget ($soak_seconds s, VEL_SOAK_SECONDS) would have to be smaller on this machine" >&2
      exit 1
    elif [[ $status -ne 0 ]]; then
      echo "error: the $lane-bit lane's bench failed (exit $status)" >&2
      exit 1
    fi
    echo "the $lane-bit lane's bench took $((SECONDS - started)) s" >&2
    echo
    echo "$lane-bit lane ($lane-bit host program and DLL):"
    echo
    cat "$win/bin/bench-table.md"
  done
} > "$out.tmp"
mv "$out.tmp" "$out"
echo "written: $out"

# Keep the figures page's copy current.
page="$here/../engineering/figures.md"
if grep -q '<!-- bench: filled in by make bench -->' "$page"; then
  python3 - "$page" "$out" <<'PY'
import re, sys
page, results = sys.argv[1], sys.argv[2]
text = open(page).read()
table = open(results).read().strip()
text = re.sub(r'(<!-- bench: filled in by make bench -->\n).*?(\n<!-- /bench -->)',
              lambda m: m.group(1) + table + m.group(2), text, flags=re.S)
open(page, 'w').write(text)
PY
fi
