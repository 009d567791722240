#!/usr/bin/env bash
# Builds the benchmarks optimised and runs every one of them in one go: the
# data files are made first, then each benchmark runs three times (or
# ZEMWIN_BENCH_RUNS, when more), each time in a fresh process of its own,
# and the last lines print each work's median beside raw SQLite's median,
# and their ratio. Arguments go to Google Benchmark (e.g.
# --benchmark_filter=Walk).
# ZEMWIN_BENCH_ROWS sets the size of the large table (1,000,000 by default);
# ZEMWIN_BENCH_DATA names a folder where the data files are kept.
# --instructions also counts, under valgrind's callgrind, the instructions
# each work takes on each side and prints their ratio.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEMWIN_BENCH=ON
cmake --build build-bench --target zem_bench
arguments=()
for argument in "$@"; do
  if [ "$argument" = --instructions ]; then export ZEMWIN_BENCH_INSTRUCTIONS=1; else arguments+=("$argument"); fi
done
exec build-bench/bench/zem_bench "${arguments[@]}"
