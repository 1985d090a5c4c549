#!/usr/bin/env bash
# A replay in a real window, paced at 60 frames per second, stopped by the
# viewer: Escape, a close request (SDL turns SIGTERM into one) and Ctrl-C
# (SIGINT) each end it with exit code 0 and one line saying how far it got
# and that every checksum so far matched; a replay left alone ends by itself.
set -u
source "$(dirname "$0")/xvfb_lib.sh"
game="$1"
demo="$(cd "$(dirname "$0")/../demos" && pwd)/shoot_enemy.demo"
frames=$(grep -c '^f ' "$demo")

begin_test
for stop in Escape TERM INT; do
  # A background job starts with SIGINT ignored; the game gets it as Ctrl-C would give it.
  start_game env "$workdir" --default-signal=INT "$game" --play "$demo" --max-fps 60 --no-sound 2>"$workdir/err" || exit 1
  sleep 1.5
  if [ "$stop" = Escape ]; then press_key Escape; else kill -"$stop" "$game_pid"; fi
  wait_game 10 || fail "the replay did not stop on $stop"
  [ "$game_rc" -eq 0 ] || fail "exit code $game_rc after $stop: $(cat "$workdir/err")"
  [ "$(wc -l <"$workdir/err")" -eq 1 ] || fail "more than one line after $stop: $(cat "$workdir/err")"
  grep -qE "^vorn: demo .*shoot_enemy.demo stopped after [0-9]+ of its $frames frames; (no checksum was due yet|the one checksum so far matched|all [0-9]+ checksums so far matched)$" \
    "$workdir/err" || fail "after $stop: $(cat "$workdir/err")"
  echo "$stop: $(cat "$workdir/err")"
done
echo "a windowed replay stopped by Escape, a close request and Ctrl-C: exit 0 with its stop line: ok"
