#!/usr/bin/env bash
# Usage: tools/fuzz-run.sh FUZZER SEED_DIR WORK_DIR SECONDS
# Runs one libFuzzer target for a set time, growing a corpus in WORK_DIR
# (the seeds in the repository stay untouched).
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3 seconds=$4
mkdir -p "$work"
exec "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
     -artifact_prefix="$work/" "$work" "$seeds"
