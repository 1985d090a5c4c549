#!/usr/bin/env bash
# Sound in a real window, written by SDL's disk audio driver: a quiet world
# is silent until the player fires, and the held beam hums; with --no-sound
# no audio is written at all.
set -u
source "$(dirname "$0")/xvfb_lib.sh"
game="$1"

# max_level FILE FROM TO: the largest sample magnitude between byte offsets.
max_level() {
  local from=$(( $2 / 2 * 2 )) to=$(( $3 / 2 * 2 ))
  [ "$to" -gt "$from" ] || { echo 0; return; }
  tail -c +"$(( from + 1 ))" "$1" | head -c "$(( to - from ))" | od -An -v -t d2 |
    awk '{ for (i = 1; i <= NF; i++) { v = $i < 0 ? -$i : $i; if (v > m) m = v } } END { print m + 0 }'
}
size() { stat -c %s "$1" 2>/dev/null || echo 0; }

begin_test
# No darts, so no enemy beams; the station is out of reach of the spawn.
printf 'enemy_count=0\n' >"$workdir/vorn_config.txt"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIODELAY=20
export SDL_DISKAUDIOFILE="$workdir/sound.raw"
start_game "$game" "$workdir" || exit 1
mouse_move 400 100
# The first sounds (the new ship, the station's guns waking) fade away.
sleep 3
s0=$(size "$SDL_DISKAUDIOFILE")
sleep 1
s1=$(size "$SDL_DISKAUDIOFILE")
mouse_down 1
sleep 1.5
s2=$(size "$SDL_DISKAUDIOFILE")
mouse_up 1
[ "$s1" -gt "$s0" ] || fail "no audio was written ($s0 then $s1 bytes)"
quiet=$(max_level "$SDL_DISKAUDIOFILE" "$s0" "$s1")
# Skip the first 100 ms after the press: sound mixed just before it.
firing=$(max_level "$SDL_DISKAUDIOFILE" $(( s1 + 17640 )) "$s2")
[ "$quiet" -lt 50 ] || fail "a quiet world is not silent: level $quiet"
[ "$firing" -gt 1000 ] || fail "the held beam is silent: level $firing (quiet $quiet)"
press_key Escape
wait_game 10 || fail "the game did not end after Escape"
[ "$game_rc" -eq 0 ] || fail "exit code after Escape: $game_rc"

export SDL_DISKAUDIOFILE="$workdir/none.raw"
start_game "$game" "$workdir" --no-sound || exit 1
mouse_move 400 100
mouse_down 1
sleep 1.5
mouse_up 1
press_key Escape
wait_game 10 || fail "the game did not end after Escape (--no-sound)"
[ ! -s "$SDL_DISKAUDIOFILE" ] || fail "--no-sound wrote $(size "$SDL_DISKAUDIOFILE") bytes of audio"
echo "quiet world silent (level $quiet), held beam heard (level $firing), --no-sound writes nothing: ok"
