#!/usr/bin/env bash
# The configuration file's screen size is the window's and the screenshot's.
set -u
source "$(dirname "$0")/xvfb_lib.sh"
game="$1"

begin_test
printf 'screenx=640\nscreeny=480\n' >"$workdir/vorn_config.txt"
start_game "$game" "$workdir" || exit 1
mouse_move 320 240
sleep 0.5
take_screenshot "$workdir" || exit 1
size=$(stat -c %s "$shot")
[ "$size" -eq $((54 + 4 * 640 * 480)) ] || fail "a 640 x 480 screenshot is $size bytes long"
[ "$(bmp_size "$shot")" = "640 480" ] || fail "the screenshot's header gives the size $(bmp_size "$shot")"
geometry=$(xdotool getwindowgeometry "$window_id" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "640x480" ] || fail "the window is $geometry"
press_key Escape
wait_game 10 || fail "the game did not end after Escape"
[ "$game_rc" -eq 0 ] || fail "exit code after Escape: $game_rc"
echo "screen size from the configuration file, 640 x 480 window and screenshot: ok"
