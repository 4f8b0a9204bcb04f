#!/usr/bin/env bash
# Usage: tools/soak-budget.sh
# Prints each soak's time budget in seconds, the one place that reads
# VEL_SOAK_SECONDS: a number of seconds above 0 (digits, with a decimal
# part or not), otherwise 600, saying so on stderr when it was set to
# something else (600 s: a 2-core machine twice as slow as the README's
# still keeps to it). tools/bench.sh hands the figure to the bench program and
# computes its lane limit from it, so that both go by the same budget.
set -euo pipefail
readonly default_seconds=600
value=${VEL_SOAK_SECONDS:-}
if [[ "$value" =~ ^[0-9]+(\.[0-9]+)?$ ]] && awk -v s="$value" 'BEGIN { exit !(s > 0) }'; then
  echo "$value"
else
  [[ -z "$value" ]] || echo "note: VEL_SOAK_SECONDS=$value is not a number of seconds above 0: each soak gets $default_seconds s" >&2
  echo "$default_seconds"
fi
