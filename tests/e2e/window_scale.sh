#!/usr/bin/env bash
# --scale 2: a window twice as large made of 2 x 2 blocks, screenshots still
# of the game's own size, pointer positions halved, and a demo recorded so
# that replays at any scale play it out the same.
set -u
source "$(dirname "$0")/xvfb_lib.sh"
game="$1"

XVFB_SCREEN=1920x1440x24 begin_test
demo="$workdir/scaled.demo"
start_game "$game" "$workdir" --scale 2 --record "$demo" || exit 1
geometry=$(xdotool getwindowgeometry "$window_id" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "1600x1200" ] || fail "the window at scale 2 is $geometry"
mouse_move 1200 900
key_down w
sleep 0.6
key_up w
mouse_move 400 200
mouse_down 1
sleep 0.4
take_screenshot "$workdir" || exit 1
[ "$(bmp_size "$shot")" = "800 600" ] || fail "the screenshot at scale 2 is $(bmp_size "$shot")"

# Every 2 x 2 block of the window is one colour: halving and doubling it
# again changes no pixel. The picture is not empty either.
import -window "$window_id" "$workdir/window.png"
convert "$workdir/window.png" -sample 50% -sample 200% "$workdir/blocks.png"
changed=$(compare -metric AE "$workdir/window.png" "$workdir/blocks.png" null: 2>&1)
[ "$changed" = "0" ] || fail "$changed pixels of the window are not in 2 x 2 blocks"
colours=$(convert "$workdir/window.png" -format %k info:)
[ "$colours" -gt 5 ] || fail "the scaled window shows only $colours colours"
mouse_up 1
press_key Escape
wait_game 10 || fail "the game did not end after Escape"
[ "$game_rc" -eq 0 ] || fail "exit code after Escape: $game_rc"

# The game saw the pointer at half the window's coordinates.
grep -q "^e 5 600 450 " "$demo" || fail "the demo has no pointer move to (600, 450)"
! grep -qE "^e [5-7] ([8-9][0-9][0-9]|1[0-9]{3}) " "$demo" || fail "the demo holds a pointer x beyond the screen"
for scale in 1 3; do
  "$game" --headless --scale "$scale" --play "$demo" 2>"$workdir/err" ||
    fail "the demo recorded at scale 2 does not replay at scale $scale: $(head -c 400 "$workdir/err")"
done
echo "scale 2: 1600 x 1200 window of 2 x 2 blocks, 800 x 600 screenshot, halved pointer, demo replays at scales 1 and 3: ok"
