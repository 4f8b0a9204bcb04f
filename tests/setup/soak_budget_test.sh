#!/usr/bin/env bash
# tools/soak-budget.sh: the soaks' budget that the bench program gets and
# that its lane limit is computed from, for every value of VEL_SOAK_SECONDS.
set -uo pipefail
script=$(realpath "$(dirname "$0")/../../tools/soak-budget.sh")
passed=0 failed=0
expect() {  # expect WANTED [VALUE]: VEL_SOAK_SECONDS unset when VALUE is missing
  local wanted=$1 got
  if [[ $# -gt 1 ]]; then got=$(VEL_SOAK_SECONDS=$2 "$script" 2>/dev/null); else got=$(env -u VEL_SOAK_SECONDS "$script" 2>/dev/null); fi
  if [[ "$got" == "$wanted" ]]; then passed=$((passed + 1))
  else failed=$((failed + 1)); echo "FAIL: VEL_SOAK_SECONDS=${2-(unset)} gave \"$got\", expected $wanted"; fi
}
expect 600
for value in "" 0 0.0 00 abc -5 10abc 1e3 " 30" inf nan; do expect 600 "$value"; done
expect 30 30
expect 2.5 2.5
expect 1200 1200
# A value it passes over is named on stderr, so the user learns why.
note=$(VEL_SOAK_SECONDS=abc "$script" 2>&1 >/dev/null)
if [[ "$note" == *"VEL_SOAK_SECONDS=abc"*600* ]]; then passed=$((passed + 1))
else failed=$((failed + 1)); echo "FAIL: no note for VEL_SOAK_SECONDS=abc: $note"; fi
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
