#!/usr/bin/env bash
# Runs one libFuzzer target of the input readers for a while:
#   tools/fuzz.sh TARGET SECONDS [RUNS]   TARGET: png, config or demo
# It stops after SECONDS, or after RUNS executions if that comes first.
# Configures and builds the clang fuzz build in build/fuzz when needed
# (packages clang and libclang-rt-14-dev), fuzzes a working copy of
# fuzz/corpus/TARGET kept in build/fuzz/corpus/TARGET (it grows from run to
# run; the checked-in corpus is never written), and puts crashing, leaking or
# slow inputs into build/fuzz/findings/TARGET/. Prints the number of
# executions and every finding; exits 1 when there is a finding.
# A finding is reproduced with the replay driver of the ordinary build:
#   build/fuzz_replay_TARGET build/fuzz/findings/TARGET/crash-...
# and, once fixed, goes into fuzz/corpus/TARGET/ so the test suite keeps it.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 2 ] || [ $# -gt 3 ] || ! [[ "$2" =~ ^[0-9]+$ ]] || ! [[ "${3:-0}" =~ ^[0-9]+$ ]]; then
  echo "usage: tools/fuzz.sh TARGET SECONDS [RUNS]   (TARGET: png, config or demo)" >&2
  exit 2
fi
target=$1
seconds=$2
if [ ! -d "fuzz/corpus/$target" ] || [ ! -f "fuzz/${target}_fuzz.cpp" ]; then
  echo "unknown fuzz target '$target' (png, config or demo)" >&2
  exit 2
fi

source tools/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev

build=build/fuzz
if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVORN_FUZZ=ON -DVORN_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target "${target}_fuzz"

work="$build/corpus/$target"
findings="$build/findings/$target"
mkdir -p "$work" "$findings"
cp -n "fuzz/corpus/$target"/* "$work"/ 2>/dev/null || true

dict=()
[ -f "fuzz/$target.dict" ] && dict=(-dict="fuzz/$target.dict")
# A configuration line holds at most 250 characters, so a few kilobytes of
# text already reach every rule; longer inputs only make each run slower.
limit=()
[ "$target" = config ] && limit=(-max_len=2048)
[ -n "${3:-}" ] && limit+=(-runs="$3")
before=$(find "$findings" -type f | wc -l)
log="$build/fuzz-$target.log"
set +e
# One process; a sanitizer report or a violated property ends it with the
# input written to the findings folder.
ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$build/${target}_fuzz" "${dict[@]}" "${limit[@]}" -max_total_time="$seconds" -print_final_stats=1 \
  -timeout=10 -rss_limit_mb=4096 -artifact_prefix="$findings/" "$work" 2>&1 | tee "$log" |
  grep -E 'DONE|Done [0-9]+ runs|ERROR|SUMMARY|violated|Test unit written|stat::(number_of_executed_units|peak_rss)' |
  tail -n 40
rc=${PIPESTATUS[0]}
set -e

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
reach=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -n 1)
echo "target $target: ${runs:-unknown} executions, ${reach:-no coverage figures} (at most $seconds s; log: $log)"
after=$(find "$findings" -type f | wc -l)
if [ "$rc" -ne 0 ] || [ "$after" -gt "$before" ]; then
  echo "findings in $findings:"
  ls -l "$findings"
  exit 1
fi
echo "no findings"
