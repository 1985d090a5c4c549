#!/usr/bin/env bash
# Every golden demo replays with matching checksums: any change to how the
# game behaves shows up here as a desync (re-record with tools/record_demos.sh
# when the change is intended). They replay in every instruction set this
# processor has (VORN_ISA) on one thread and in the widest also on two; a
# crowd game, large enough for the worker threads, gives the same final
# checksum in every set and on one, two and three threads. With "format2" as
# second argument only the demos of format 2 are played: those recorded by
# the C library's arctangent (format 1) replay only on the kind of machine
# that made them.
set -u
game="$1"
only="${2:-}"
demos="$(dirname "$0")/../demos"
isas=()
for isa in baseline neon avx2 avx512; do
  if VORN_ISA=$isa "$game" --headless --frames 0 >/dev/null 2>&1; then isas+=("$isa"); fi
done
[ ${#isas[@]} -gt 0 ] || { echo "FAIL: the game runs in no instruction set"; exit 1; }
count=0
for demo in "$demos"/*.demo; do
  [ -e "$demo" ] || { echo "no golden demos in $demos"; exit 1; }
  if [ "$only" = format2 ] && [ "$(head -n 1 "$demo")" != "vorn-demo 2" ]; then continue; fi
  for path in "${isas[@]/%/:1}" "${isas[-1]}:2"; do
    isa="${path%:*}" threads="${path#*:}"
    {
      if ! VORN_ISA=$isa timeout 300 "$game" --headless --threads $threads --play "$demo"; then
        echo "FAIL: $(basename "$demo") does not replay (VORN_ISA=$isa, --threads $threads)"
        exit 1
      fi
      count=$((count + 1))
    }
  done
done
echo "golden demos: $count replays (${isas[*]} on 1 thread, ${isas[-1]} on 2), every checksum matched"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf 'enemy_count=300\ndef_lives=1000000\n' > "$work/crowd.txt"
reference=""
for path in "${isas[@]/%/:1}" "${isas[-1]}:2" "${isas[-1]}:3"; do
  isa="${path%:*}" threads="${path#*:}"
  {
    sum="$(VORN_ISA=$isa timeout 300 "$game" --headless --threads $threads --config "$work/crowd.txt" \
      --frames 8 --fixed-dt 0.0166666 --summary | sed 's/.*"checksum":"\([0-9a-f]*\)".*/\1/')"
    [ -n "$sum" ] || { echo "FAIL: the crowd game did not run (VORN_ISA=$isa, --threads $threads)"; exit 1; }
    [ -n "$reference" ] || reference="$sum"
    if [ "$sum" != "$reference" ]; then
      echo "FAIL: crowd game checksum $sum with VORN_ISA=$isa --threads $threads, $reference before"
      exit 1
    fi
  }
done
echo "crowd game: the same checksum $reference on every path"
