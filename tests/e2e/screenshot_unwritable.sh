#!/usr/bin/env bash
# A screenshot that cannot be written (the working directory is gone) is
# reported on stderr, leaves no file behind and does not stop the game.
set -u
source "$(dirname "$0")/xvfb_lib.sh"
game="$1"

begin_test
# Removing the game's own working directory works for root too, where
# directory permissions would not stop the write.
rundir="$workdir/run"
mkdir "$rundir"
start_game "$game" "$rundir" --no-sound 2>"$workdir/stderr" || { cat "$workdir/stderr"; exit 1; }
rmdir "$rundir" || fail "could not remove the game's working directory"
mouse_move 400 300
sleep 0.3
xdotool key p
sleep 1
kill -0 "$game_pid" 2>/dev/null || { wait_game 1; fail "the game ended after p (exit code $game_rc): $(cat "$workdir/stderr")"; }
press_key Escape
wait_game 10 || fail "the game did not end after Escape"
[ "$game_rc" -eq 0 ] || fail "exit code after Escape: $game_rc"

report=$(cat "$workdir/stderr")
[ "$(wc -l <"$workdir/stderr")" -eq 1 ] || fail "expected one line on stderr, got: '$report'"
[[ "$report" =~ screenshot-[0-9]{6}_[0-9]{2}-[0-9]{2}-[0-9]{2}-[0-9]{3}\.bmp ]] ||
  fail "the report does not name the file: '$report'"
left=$(find "$workdir" -name 'screenshot-*')
if [ -n "$left" ] || [ -e "$rundir" ]; then fail "files left behind: $left"; fi
echo "screenshot into a removed directory reported ('$report'), game went on: ok"
