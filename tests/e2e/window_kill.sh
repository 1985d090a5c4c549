#!/usr/bin/env bash
# A window destroyed from outside (xdotool windowkill, as xkill does) ends
# the game as closing it does: exit 0 without an X error, and the demo being
# recorded ends with its quit and end record, and replays.
set -u
source "$(dirname "$0")/xvfb_lib.sh"
game="$1"

begin_test
demo="$workdir/killed.demo"
start_game "$game" "$workdir" --record "$demo" 2>"$workdir/game_err" || exit 1
mouse_move 600 200
key_down w
sleep 1
xdotool windowkill "$window_id"
key_up w
wait_game 10 || fail "the game did not end when its window was destroyed"
[ "$game_rc" -eq 0 ] || fail "exit code after the window was destroyed: $game_rc ($(cat "$workdir/game_err"))"
! grep -qi "X connection\|XIO\|X Error" "$workdir/game_err" || fail "an X error was reported: $(cat "$workdir/game_err")"
grep -q "^end " "$demo" || fail "the demo has no end record"
grep -q "^e 1 0 0 0 0$" "$demo" || fail "the demo does not end with the close request"
"$game" --headless --play "$demo" 2>"$workdir/err" || fail "the demo does not replay: $(cat "$workdir/err")"
echo "window destroyed from outside: exit 0, demo ends with a close and replays: ok"
