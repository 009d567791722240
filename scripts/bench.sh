#!/usr/bin/env bash
# Builds the benchmarks optimised and runs them; arguments go to Google
# Benchmark (e.g. --benchmark_filter=Walk). ZEMWIN_BENCH_ROWS sets the size of
# the large table (1,000,000 by default).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEMWIN_BENCH=ON
cmake --build build-bench --target zem_bench
exec build-bench/bench/zem_bench "$@"
