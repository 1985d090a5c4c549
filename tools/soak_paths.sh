#!/usr/bin/env bash
# The soak across code paths: the same generated configurations, each with a
# crowd of enemy ships large enough for the worker threads, played in every
# instruction set this processor has and on 1, 2 and 3 threads (optimised
# build). Every path must pass and print the same digest of final states.
#
#   tools/soak_paths.sh [CONFIGS] [FRAMES] [CROWD] [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}"
configs="${1:-100}"
frames="${2:-240}"
crowd="${3:-300}"
seed="${4:-1}"
cmake -S . -B build/soak -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF >/dev/null
cmake --build build/soak --target vorn_soak vorn >/dev/null
reference=""
for isa in baseline avx2 avx512; do
  VORN_ISA=$isa build/soak/vorn --headless --frames 0 2>/dev/null || { echo "soak paths: no $isa here"; continue; }
  for threads in 1 2 3; do
    line="$(VORN_ISA=$isa build/soak/vorn_soak --configs "$configs" --frames "$frames" --seed "$seed" \
      --crowd "$crowd" --threads "$threads")"
    echo "$line"
    case "$line" in *" 0 cut short"*) ;; *) echo "soak paths: a configuration was cut short; its digest depends on speed"; exit 1 ;; esac
    digest="$(sed 's/.*digest \([0-9a-f]*\).*/\1/' <<<"$line")"
    [ -n "$reference" ] || reference="$digest"
    [ "$digest" = "$reference" ] || { echo "soak paths: FAIL: digest $digest, $reference before"; exit 1; }
  done
done
echo "soak paths: every path played the same games (digest $reference)"
