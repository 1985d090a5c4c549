#!/usr/bin/env bash
# Builds the optimised benchmark program and runs it; arguments go to it
# (Google Benchmark's, e.g. --benchmark_filter=full_frame).
#   tools/bench.sh
#   tools/bench.sh --benchmark_filter='copy_screen|defaults' --benchmark_repetitions=3
# The reference case copy_screen must run for the x_ref column to appear.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev
cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF >/dev/null
cmake --build build-rel --target vorn_bench
exec ./build-rel/vorn_bench "$@"
