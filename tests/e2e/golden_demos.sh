#!/usr/bin/env bash
# Every golden demo replays with matching checksums: any change to how the
# game behaves shows up here as a desync (re-record with tools/record_demos.sh
# when the change is intended). With "format2" as second argument only the
# demos of format 2 are played: those recorded by the C library's arctangent
# (format 1) replay only on the kind of machine that made them.
set -u
game="$1"
only="${2:-}"
demos="$(dirname "$0")/../demos"
count=0
for demo in "$demos"/*.demo; do
  [ -e "$demo" ] || { echo "no golden demos in $demos"; exit 1; }
  if [ "$only" = format2 ] && [ "$(head -n 1 "$demo")" != "vorn-demo 2" ]; then continue; fi
  if ! timeout 300 "$game" --headless --play "$demo"; then
    echo "FAIL: $(basename "$demo") does not replay"
    exit 1
  fi
  count=$((count + 1))
done
echo "golden demos: $count replayed, every checksum matched"
