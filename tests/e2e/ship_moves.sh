#!/usr/bin/env bash
# The pointer steers the ship and held thrust moves it. The camera follows the
# ship, so the world under the status bar shifts against the flight: with the
# pointer to the right of the ship, the station (top left) moves left.
set -u
source "$(dirname "$0")/xvfb_lib.sh"
game="$1"

# The mean position of the station's cold grey link pixels, leaving out the
# player's own grey ship at the centre: "count x y".
station_centre() {
  bmp_pixels "$1" 800 600 18 599 |
    awk '$3 == "ff808080" && ($1 < 300 || $1 > 500 || $2 < 200 || $2 > 400) { n++; sx += $1; sy += $2 }
      END { if (n) printf "%d %.1f %.1f\n", n, sx / n, sy / n; else print "0 0 0" }'
}

begin_test
# A quiet world without darts: nothing but the player's input moves the camera.
printf 'enemy_count=0\n' >"$workdir/vorn_config.txt"
start_game "$game" "$workdir" || exit 1
mouse_move 400 150
sleep 0.5
take_screenshot "$workdir" || exit 1
first=$shot
sleep 0.6
take_screenshot "$workdir" || exit 1
still=$shot
read -r n0 x0 y0 < <(station_centre "$first")
read -r _ x1 y1 < <(station_centre "$still")
calm=$(bmp_differing_pixels "$first" "$still" 800 600)
[ "$n0" -gt 1000 ] || fail "the station is not in view: $n0 grey pixels"
awk -v a="$x0" -v b="$x1" -v c="$y0" -v d="$y1" 'BEGIN { exit !((a - b) ^ 2 + (c - d) ^ 2 < 1) }' ||
  fail "without input the station moved from ($x0, $y0) to ($x1, $y1)"

# Turn towards the pointer first, then thrust.
mouse_move 700 300
sleep 0.4
key_down w
sleep 0.6
key_up w
take_screenshot "$workdir" || exit 1
read -r _ x2 y2 < <(station_centre "$shot")
moved=$(bmp_differing_pixels "$still" "$shot" 800 600)
[ "$moved" -gt "$calm" ] || fail "$moved pixels changed after steering and thrust, $calm without input"
# Mostly leftwards: 10 pixels at least, and more than half the vertical drift
# (the screen's edge cuts the station, which moves the mean of what is seen).
awk -v a="$x1" -v b="$x2" -v c="$y1" -v d="$y2" 'BEGIN { exit !(b <= a - 10 && 2 * (a - b) > (c > d ? c - d : d - c)) }' ||
  fail "after steering right and thrust the station moved from ($x1, $y1) to ($x2, $y2)"

press_key Escape
wait_game 10 || fail "the game did not end after Escape"
[ "$game_rc" -eq 0 ] || fail "exit code after Escape: $game_rc"
echo "pointer and thrust move the ship (station seen moving from ($x1, $y1) to ($x2, $y2), $moved pixels changed): ok"
