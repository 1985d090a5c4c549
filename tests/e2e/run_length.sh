#!/usr/bin/env bash
# Runs without a window end after exactly the frames asked for, and a count
# below 0 is refused.
set -u
game="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
fail() { echo "FAIL: $*"; exit 1; }

for n in 0 1 7; do
  timeout 60 "$game" --headless --frames "$n" --summary >out 2>err || fail "--frames $n exit code $?"
  grep -q "\"frames\":$n," out || fail "--frames $n played $(grep -o '"frames":[0-9]*' out)"
done
timeout 20 "$game" --headless --frames -1 2>/dev/null
[ $? -eq 2 ] || fail "--frames -1 must exit 2"
echo "run length: ok"
