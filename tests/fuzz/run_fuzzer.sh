#!/bin/sh
# Runs one fuzz target for a fixed time: run_fuzzer.sh BINARY SEEDS WORK SECONDS.
# New inputs go to WORK/corpus, never into the seed corpus of the source
# tree; a crashing input is saved in WORK/artifacts and fails the test.
set -eu
binary=$1 seeds=$2 work=$3 seconds=$4
mkdir -p "$work/corpus" "$work/artifacts"
exec "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=4096 -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
    "$work/corpus" "$seeds"
