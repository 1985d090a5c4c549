#!/usr/bin/env bash
# The frame on a busy machine: while busy-loop processes hold every core,
# the optimised vorn_bench times the default frame and the 1000-enemy frame
# on the default threads and on one thread, each case in a run of its own,
# the four in a different order every round. Prints every round's times and
# ratios (default threads / one thread, wall time) and the median ratios.
#   tools/bench_busy.sh [ROUNDS] [BENCH]
# BENCH: another vorn_bench to time (e.g. an older build's), instead of
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

cases=("full_frame/defaults" "full_frame/defaults/threads:1" "full_frame/enemies:1000" "full_frame/enemies:1000/threads:1")
# wall_time CASE: the case's wall time per frame in microseconds.
wall_time() {
  local out
  out=$(mktemp)
  "$bench" --benchmark_filter="^$1/iterations:[0-9]+\$" --benchmark_out="$out" --benchmark_out_format=csv >/dev/null 2>&1
  awk -F, -v name="^\"$1/iterations:[0-9]+\"\$" '$1 ~ name { t = $3; if ($5 == "ms") t *= 1000; printf "%.1f\n", t }' "$out"
  rm -f "$out"
}
ratios_defaults=()
ratios_crowd=()
for round in $(seq "$rounds"); do
  declare -A t=()
  # Rotate the order so that no case always runs first or last.
  for k in 0 1 2 3; do
    c="${cases[$(((k + round) % 4))]}"
    t[$c]=$(wall_time "$c")
  done
  rd=$(awk -v a="${t[full_frame/defaults]}" -v b="${t[full_frame/defaults/threads:1]}" 'BEGIN { printf "%.3f", a / b }')
  rc=$(awk -v a="${t[full_frame/enemies:1000]}" -v b="${t[full_frame/enemies:1000/threads:1]}" 'BEGIN { printf "%.3f", a / b }')
  ratios_defaults+=("$rd")
  ratios_crowd+=("$rc")
  echo "round $round: defaults ${t[full_frame/defaults]} us against ${t[full_frame/defaults/threads:1]} us on one thread (x$rd);" \
    "1000 enemies ${t[full_frame/enemies:1000]} us against ${t[full_frame/enemies:1000/threads:1]} us (x$rc)"
  unset t
done
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
echo "busy machine ($(nproc) busy loops), median of $rounds rounds: defaults x$(median "${ratios_defaults[@]}"), 1000 enemies x$(median "${ratios_crowd[@]}") (default threads / one thread)"
