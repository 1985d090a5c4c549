#!/usr/bin/env bash
# A demo recorded in a real window with real input replays checksum for
# checksum (also in the build OTHER_GAME, when given: demo_live.sh GAME
# [OTHER_GAME]); a cut copy replays up to its last checksum (0, with a line
# saying that it ends early) and a copy with one changed checksum digit
# departs from its recording (3), each with a message. A game ended by
# releasing the fire button and pressing Escape at once (both after the last
# frame: the end checksum is taken after them) replays too.
set -u
source "$(dirname "$0")/xvfb_lib.sh"
game="$1"
other_game="${2:-}"

begin_test
demo="$workdir/live.demo"
start_game "$game" "$workdir" --record "$demo" || exit 1
mouse_move 400 300
sleep 0.3
mouse_move 600 200
key_down w
sleep 0.4
mouse_move 250 350
mouse_down 1
sleep 0.4
key_up w
mouse_up 1
xdotool key space
sleep 0.3
mouse_move 500 450
xdotool key space
mouse_down 1
sleep 0.3
mouse_up 1
sleep 0.2
press_key Escape
wait_game 10 || fail "the recording game did not end after Escape"
[ "$game_rc" -eq 0 ] || fail "exit code of the recording game: $game_rc"

# The input all went into the demo.
for event in "e 4 0 0 119 " "e 3 0 0 119 " "e 7 " "e 6 " "e 5 " "e 4 0 0 32 " "e 4 0 0 27 "; do
  grep -q "^$event" "$demo" || fail "the demo has no '$event' event"
done
frames=$(grep -c '^f ' "$demo")
tail -n 1 "$demo" | grep -q "^end $frames " || fail "the demo does not end with 'end $frames': $(tail -n 1 "$demo")"

# play DEMO CODE: a headless replay that must end with exit code CODE and,
# unless CODE is 0, a message; sanitizer reports count as a crash.
play() {
  "$game" --headless --play "$1" >"$workdir/out" 2>"$workdir/err"
  local rc=$?
  [ "$rc" -eq "$2" ] || fail "--play $(basename "$1") exit code $rc, expected $2: $(head -c 600 "$workdir/err")"
  ! grep -qE 'Sanitizer|runtime error' "$workdir/err" || fail "--play $(basename "$1"): $(head -c 600 "$workdir/err")"
  [ "$2" -eq 0 ] || grep -q "vorn: demo" "$workdir/err" || fail "--play $(basename "$1") gave no message"
}
play "$demo" 0

# Cut in the middle of a line, and after a whole line: each replays up to the
# last checksum before the cut.
head -c $(($(stat -c %s "$demo") / 2)) "$demo" >"$workdir/cut.demo"
head -n $(($(wc -l <"$demo") / 2)) "$demo" >"$workdir/short.demo"
for cut in cut short; do
  play "$workdir/$cut.demo" 0
  last=$(grep -E '^c [0-9]+ [0-9a-f]{16}$' "$workdir/$cut.demo" | tail -n 1 | cut -d' ' -f2)
  grep -q "ends early (no end record): ${last:-0} frames played and checked" "$workdir/err" ||
    fail "the $cut demo: $(cat "$workdir/err")"
done

# The live demo also replays with glibc's generic code paths (as on a
# processor without fused multiply-add).
GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2,-FMA,-AVX512F play "$demo" 0
# And in another build of the game (another compiler), with the generic paths.
if [ -n "$other_game" ]; then
  GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2,-FMA,-AVX512F "$other_game" --headless --play "$demo" >"$workdir/out" 2>"$workdir/err" ||
    fail "$other_game does not replay the live demo: $(head -c 600 "$workdir/err")"
fi

# One digit of the first checksum record changed.
line=$(grep -n -m 1 -E '^(c|end) ' "$demo" | cut -d: -f1)
awk -v n="$line" 'NR == n { d = substr($3, 16, 1); $3 = substr($3, 1, 15) (d == "0" ? "1" : "0") } { print }' \
  "$demo" >"$workdir/changed.demo"
cmp -s "$demo" "$workdir/changed.demo" && fail "could not change a checksum"
play "$workdir/changed.demo" 3
at=$(sed -n "${line}p" "$demo" | cut -d' ' -f2)
grep -q "frame $at " "$workdir/err" || fail "the report does not name frame $at: $(cat "$workdir/err")"

# Fire held, then the button released and Escape pressed with no pause
# between (one xdotool command): the release lands among the events after
# the last frame in most tries; every try must replay.
trailing_release=0
for try in 1 2 3; do
  quick="$workdir/quick$try.demo"
  start_game "$game" "$workdir" --record "$quick" || exit 1
  mouse_move 500 250
  sleep 0.3
  mouse_down 1
  sleep 1
  xdotool mouseup 1 key Escape
  wait_game 10 || fail "the game did not end after the release and Escape"
  [ "$game_rc" -eq 0 ] || fail "exit code of the quick recording: $game_rc"
  play "$quick" 0
  # The lines after the last frame: the events that ended the game.
  if awk '/^f /{ after = "" ; next } { after = after $0 "\n" } END { exit !(after ~ /e 6 /) }' "$quick"; then
    trailing_release=$((trailing_release + 1))
  fi
done
[ "$trailing_release" -gt 0 ] || fail "in no try did the release come after the last frame"
echo "live demo of $frames frames replays; cut copies replay to their last checksum, changed checksum departs at frame $at (3);" \
  "released and quit at once: 3 of 3 replay ($trailing_release with the release after the last frame): ok"
