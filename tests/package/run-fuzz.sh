#!/bin/bash
# run-fuzz.sh FUZZER SEED_DIR RUNS
# A short, bounded fuzzing run: the seeds are copied into a fresh working
# corpus so the committed ones never change, and the corpus is removed again.
set -euo pipefail
fuzzer=$1 seeds=$2 runs=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$seeds"/* "$work"/
"$fuzzer" -runs="$runs" -max_total_time=120 -max_len=4096 -rss_limit_mb=1024 \
  -artifact_prefix="$work/" "$work"
