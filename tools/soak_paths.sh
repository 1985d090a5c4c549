#!/usr/bin/env bash
# The soak across code paths: the same generated configurations, each with a
# crowd of enemy ships large enough for the worker threads, played in every
# instruction set this processor has and on 1, 2 and 3 threads (optimised
# build). Every path must pass, and every configuration must end in the same
# state on every path that played it to the end (a configuration whose time
# ran out is cut short at a point that depends on the machine's speed).
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
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
paths=0
for isa in baseline neon avx2 avx512; do
  VORN_ISA=$isa build/soak/vorn --headless --frames 0 2>/dev/null || { echo "soak paths: no $isa here"; continue; }
  for threads in 1 2 3; do
    VORN_ISA=$isa build/soak/vorn_soak --configs "$configs" --frames "$frames" --seed "$seed" \
      --crowd "$crowd" --threads "$threads" --digests >"$work/$isa-$threads" ||
      { tail -n 1 "$work/$isa-$threads"; echo "soak paths: FAIL in $isa on $threads threads"; exit 1; }
    tail -n 1 "$work/$isa-$threads"
    paths=$((paths + 1))
  done
done
# Lines "configuration K: CHECKSUM[ (cut short)]": the checksums of one K
# over the paths that played it whole must agree.
cat "$work"/* | awk '
  /^configuration [0-9]+: [0-9a-f]+$/ {
    k = $2; c = $3
    if (!(k in sum)) { sum[k] = c; whole++ } else if (sum[k] != c) { print "soak paths: FAIL: configuration " k " ends as " c " and as " sum[k]; bad = 1 }
  }
  END { if (bad) exit 1; print "soak paths: " whole " configurations played whole end in the same state on every path" }'
