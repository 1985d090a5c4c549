#!/usr/bin/env bash
# The frame on a busy machine: while busy-loop processes hold every core,
# the optimised vorn_bench plays the default game and one of 1000 enemies,
# each in alternate blocks of frames on the default threads and on one
# thread (threads_ratio/*), ROUNDS times. Prints each round's ratios (the
# default threads' wall time over one thread's) and their medians.
#   tools/bench_busy.sh [ROUNDS] [BENCH]
# BENCH: another vorn_bench to time (an older build's, say), instead of
# building this tree's.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds="${1:-5}"
bench="${2:-}"
if [ -z "$bench" ]; then
  source tools/deps.sh
  ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev
  cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF >/dev/null
  cmake --build build-rel --target vorn_bench >/dev/null
  bench=./build-rel/vorn_bench
fi

busy=()
stop_busy() {
  [ ${#busy[@]} -eq 0 ] || kill "${busy[@]}" 2>/dev/null || true
  busy=()
}
trap stop_busy EXIT
for _ in $(seq "$(nproc)"); do
  bash -c 'while :; do :; done' &
  busy+=($!)
done

out=$(mktemp)
defaults=()
crowd=()
for round in $(seq "$rounds"); do
  "$bench" --benchmark_filter='^threads_ratio/' --benchmark_out="$out" --benchmark_out_format=csv >/dev/null 2>&1
  # The csv's header names the columns; "ratio" is a user counter.
  read -r d c < <(awk -F, 'NR == 1 { for (i = 1; i <= NF; i++) if ($i == "ratio" || $i == "\"ratio\"") col = i; next }
    /threads_ratio\/defaults/ { d = $col } /threads_ratio\/enemies:1000/ { c = $col }
    END { printf "%.3f %.3f\n", d, c }' <(sed -n '/^name,/,$p' "$out"))
  defaults+=("$d")
  crowd+=("$c")
  echo "round $round: defaults x$d, 1000 enemies x$c (default threads / one thread, wall time)"
done
rm -f "$out"
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
echo "busy machine ($(nproc) busy loops), median of $rounds rounds: defaults x$(median "${defaults[@]}"), 1000 enemies x$(median "${crowd[@]}")"
