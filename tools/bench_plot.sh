#!/usr/bin/env bash
# Plots frame time against the number of enemies (log-log, with the 60 fps
# budget as a line) from vorn_bench's JSON output, with gnuplot (installed
# when missing). Without a JSON file it runs the benchmark's crowd cases
# first (tools/bench.sh), keeping their output in build-rel/bench.json.
#   tools/bench_plot.sh [BENCH.json] [OUT.png]     (default docs/frame_times.png)
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
ensure_packages gnuplot-nox
json="${1:-}"
out="${2:-docs/frame_times.png}"
if [ -z "$json" ]; then
  json=build-rel/bench.json
  tools/bench.sh --benchmark_filter='copy_screen|full_frame' \
    --benchmark_out="$json" --benchmark_out_format=json
fi
data="$(mktemp)"
trap 'rm -f "$data"' EXIT
# Columns: enemies, milliseconds per frame; one block per path (all threads,
# one thread), each sorted by the number of enemies. The defaults case
# counts as its 5 enemies; of repeated runs the best counts.
# Google Benchmark writes one field per line, so awk reads it as it is.
awk -v out="$data" '
  /"name":/ { name = $0; sub(/.*"name": "/, "", name); sub(/".*/, "", name) }
  /"run_type":/ { aggregate = ($0 ~ /aggregate/) }
  /"real_time":/ { t = $0; sub(/.*: /, "", t); sub(/,.*/, "", t) }
  /"time_unit":/ {
    u = $0; sub(/.*: "/, "", u); sub(/".*/, "", u)
    if (name !~ /^full_frame\// || aggregate || name ~ /isa:/) next
    ms = t * (u == "ns" ? 1e-6 : u == "us" ? 1e-3 : u == "s" ? 1e3 : 1)
    split(name, part, "/")
    e = part[2] == "defaults" ? 5 : substr(part[2], index(part[2], ":") + 1) + 0
    path = name ~ /threads:1/ ? "one" : "all"
    if (!((path, e) in best) || ms < best[path, e]) best[path, e] = ms
    seen[e] = 1
  }
  END {
    n = 0
    for (e in seen) list[++n] = e + 0
    for (i = 2; i <= n; ++i) for (j = i; j > 1 && list[j - 1] > list[j]; --j) { x = list[j]; list[j] = list[j - 1]; list[j - 1] = x }
    split("all one", paths, " ")
    for (p = 1; p <= 2; ++p) {
      for (i = 1; i <= n; ++i) if ((paths[p], list[i]) in best) printf "%d %.6f\n", list[i], best[paths[p], list[i]] > out
      printf "\n\n" > out
    }
  }' "$json"
gnuplot <<GP
set terminal pngcairo size 800,560 font ",11" noenhanced
set output "$out"
set title "Vorn: time per frame (1/60 s of play, eight substeps)"
set xlabel "enemy ships"
set ylabel "wall time per frame (ms)"
set logscale xy
set grid xtics ytics mxtics mytics
set key top left
set xrange [4:3000]
plot "$data" index 0 with linespoints lw 2 pt 7 title "default threads", \
     "$data" index 1 with linespoints lw 2 pt 5 dt 2 title "one thread", \
     16.667 with lines lw 2 lc rgb "red" title "60 fps budget (16.7 ms)"
GP
echo "wrote $out"
