#!/usr/bin/env bash
# Demo files as a hostile or unlucky user meets them, headless: two games
# recording into one file at once (the second is refused before it plays, the
# first's demo replays); a FIFO, a device and a gigabyte on one line, each
# refused at once; control bytes in a damaged line shown escaped; empty file
# names refused.
set -u
game="$1"
workdir=$(mktemp -d)
first=""
trap '[ -n "$first" ] && kill -KILL "$first" 2>/dev/null; rm -rf "$workdir"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}
cd "$workdir" || exit 1
printf 'screenx=320\nscreeny=240\n' >small.txt
run() { "$game" --headless --no-sound "$@" >out 2>err; }

# The first game records at 60 frames a second; the second asks for its file.
"$game" --headless --no-sound --config small.txt --fixed-dt 0.0166 --max-fps 60 --record both.demo 2>first.err &
first=$!
for _ in $(seq 100); do
  [ -s both.demo ] && break
  sleep 0.05
done
run --config small.txt --fixed-dt 0.0166 --frames 30 --record both.demo
rc=$?
[ "$rc" -eq 1 ] || fail "the second recording into one file: exit code $rc: $(cat err)"
grep -qx "vorn: cannot record into both.demo: another game is recording into it" err || fail "$(cat err)"
# Until the first game has a checksum on disk.
for _ in $(seq 400); do
  grep -q '^c ' both.demo && break
  sleep 0.05
done
kill -TERM "$first"
wait "$first"
rc=$?
first=""
[ "$rc" -eq 0 ] || fail "the first recording: exit code $rc: $(cat first.err)"
run --play both.demo || fail "the first game's demo does not replay: $(cat err)"
frames=$(grep -c '^f ' both.demo)
[ "$frames" -ge 60 ] || fail "the first game's demo has $frames frames"

# Files that are no demo, refused at once (timeout: a FIFO used to block).
mkfifo fifo.demo
truncate -s 1G huge.demo
printf 'vorn-demo 2\nscreen 320 240\n' | dd of=huge.demo conv=notrunc status=none
for file in fifo.demo /dev/zero huge.demo; do
  timeout 10 "$game" --headless --play "$file" >out 2>err
  rc=$?
  [ "$rc" -eq 2 ] || fail "--play $file: exit code $rc: $(head -c 300 err)"
done
grep -qx "vorn: demo huge.demo: line 3: longer than 4096 bytes" err || fail "$(cat err)"

# A damaged line with terminal control bytes in it.
printf 'vorn-demo 2\nscreen 320 240\n\033]0;owned\007\n' >control.demo
run --play control.demo
grep -qxF 'vorn: demo control.demo: line 3: unknown record '"'"'\x1b]0;owned\x07'"'"'' err || fail "$(cat -v err)"

for option in --record --play --export-frames; do
  run "$option" ""
  rc=$?
  [ "$rc" -eq 2 ] || fail "$option '': exit code $rc"
  grep -q "^vorn: $option needs a name, not an empty one" err || fail "$(head -n 1 err)"
done
echo "one recorder per file ($frames frames recorded and replayed), FIFO, device and 1 GB line refused, control bytes escaped, empty names refused: ok"
