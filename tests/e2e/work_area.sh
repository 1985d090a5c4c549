#!/usr/bin/env bash
# The window fits the desktop's work area (_NET_WORKAREA on the root window,
# as panels set it), and the screen when there is none; a scale that does not
# fit the work area falls back, with a note.
set -u
source "$(dirname "$0")/xvfb_lib.sh"
game="$1"

begin_test
printf 'screenx=1600\nscreeny=1200\n' >"$workdir/vorn_config.txt"

# window_geometry ARGS...: starts the game, sets geometry to its window's size, ends it.
window_geometry() {
  start_game "$game" "$workdir" "$@" 2>"$workdir/err" || exit 1
  geometry=$(xdotool getwindowgeometry "$window_id" | sed -n 's/.*Geometry: //p')
  press_key Escape
  wait_game 10 || fail "the game did not end after Escape"
  [ "$game_rc" -eq 0 ] || fail "exit code after Escape: $game_rc"
}

# No work area: the 1280 x 1024 screen less 50, in multiples of 4.
window_geometry
[ "$geometry" = "1228x972" ] || fail "without a work area a 1600 x 1200 request gives $geometry"

xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA '0, 0, 1280, 720'
window_geometry
[ "$geometry" = "1228x668" ] || fail "in a 1280 x 720 work area a 1600 x 1200 request gives $geometry"

# Four numbers per desktop: the current desktop's area counts.
xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA '0, 0, 1280, 720, 0, 30, 1000, 900'
xprop -root -f _NET_CURRENT_DESKTOP 32c -set _NET_CURRENT_DESKTOP 1
window_geometry
[ "$geometry" = "948x848" ] || fail "on the second desktop's 1000 x 900 area the window is $geometry"

# Scale 2 of 800 x 600 does not fit 1280 x 720: scale 1, and one line saying so.
xprop -root -f _NET_CURRENT_DESKTOP 32c -set _NET_CURRENT_DESKTOP 0
rm "$workdir/vorn_config.txt"
window_geometry --scale 2
[ "$geometry" = "800x600" ] || fail "scale 2 in a 1280 x 720 work area gives a window of $geometry"
note="vorn: at scale 2 the window would be 1600 x 1200, more than the 1230 x 670 that the desktop's 1280 x 720 work area leaves a window; scale 1 is used (a window of 800 x 600)"
[ "$(grep -cFx "$note" "$workdir/err")" -eq 1 ] || fail "the note on the lowered scale: $(cat "$workdir/err")"
# Without a window there is no desktop to fit (whatever size SDL's dummy
# driver makes up): the screen keeps its size.
printf 'screenx=1600\nscreeny=1200\n' >"$workdir/vorn_config.txt"
(cd "$workdir" && "$game" --headless --frames 1 --record headless.demo) 2>"$workdir/err" ||
  fail "a headless run failed: $(cat "$workdir/err")"
grep -qx "screen 1600 1200" "$workdir/headless.demo" || fail "a headless run fitted its screen: $(grep screen "$workdir/headless.demo")"
echo "work area: 1228 x 972 from the screen, 1228 x 668 from _NET_WORKAREA, the current desktop's area, scale lowered with a note, none without a window: ok"
