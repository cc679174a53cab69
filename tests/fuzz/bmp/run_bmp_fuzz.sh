#!/usr/bin/env bash
# Runs the BMP fuzz target for a bounded time on a fresh copy of the seed corpus; any crash,
# sanitizer report or broken invariant fails the run.
set -euo pipefail
fuzzer=$1
seeds=$2
work=$3
seconds=${4:-30}
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
cp "$seeds"/* "$work/corpus/"
"$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" "$work/corpus"
