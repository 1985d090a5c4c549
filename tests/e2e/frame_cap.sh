#!/usr/bin/env bash
# --max-fps 60: the caption counts about 60 frames per second, and the game
# sleeps between frames instead of keeping a core busy; replays are paced too.
set -u
source "$(dirname "$0")/xvfb_lib.sh"
game="$1"

begin_test
start_game "$game" "$workdir" --max-fps 60 || exit 1
pointer_into_window
sleep 2.5
# CPU time (user + system, in clock ticks) over two seconds of play.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game_pid/stat"; }
ticks0=$(cpu_ticks)
sleep 2
ticks1=$(cpu_ticks)
title=$(window_title)
press_key Escape
wait_game 10 || fail "the game did not end after Escape"
[ "$game_rc" -eq 0 ] || fail "exit code after Escape: $game_rc"

fps=$(sed -n 's/.*FPS=\([0-9]*\).*/\1/p' <<<"$title")
[ -n "$fps" ] || fail "the caption shows no frame rate: $title"
# At most the cap; the lower bound only catches a cap that holds the game
# far below its value, with room for a loaded machine (a sanitizer build on
# a busy machine was seen at 49).
[ "$fps" -ge 40 ] && [ "$fps" -le 61 ] || fail "at --max-fps 60 the caption shows $fps frames per second"
busy=$(( (ticks1 - ticks0) * 100 / (2 * $(getconf CLK_TCK)) ))
[ "$busy" -lt 90 ] || fail "at --max-fps 60 the game kept ${busy}% of a core busy"

# A replay is paced too (and still plays out the same): 170 frames at 100
# frames per second take at least 1.6 s.
demo="$(dirname "$0")/../demos/victory.demo"
start_ms=$(date +%s%3N)
"$game" --headless --max-fps 100 --play "$demo" 2>"$workdir/err" || fail "a paced replay exit code $?: $(cat "$workdir/err")"
took=$(( $(date +%s%3N) - start_ms ))
[ "$took" -ge 1600 ] || fail "170 frames at --max-fps 100 took only $took ms"
echo "--max-fps 60: caption FPS=$fps, ${busy}% of a core; a replay at --max-fps 100 took $took ms: ok"
