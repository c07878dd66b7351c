#!/usr/bin/env bash
# Builds the libFuzzer target and fuzzes the generator for the given number
# of seconds (default 60), from the seed corpus, with a fixed seed. New inputs
# go to a temporary folder; a finding is saved in build/fuzz/findings and
# fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j2
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
mkdir -p build/fuzz/findings
build/fuzz/tamsel_fuzz -max_total_time="$seconds" -seed=1 -max_len=4096 \
  -dict=fuzz/tamsel.dict -artifact_prefix=build/fuzz/findings/ -print_final_stats=1 \
  "$corpus" fuzz/corpus examples 2>&1 | tail -n 25
