#!/usr/bin/env bash
# --fullscreen: the game covers the display at its own resolution, showing
# its screen in the middle at the largest whole scale (here 2), black around;
# a screenshot keeps the screen's size; the pointer at the picture's corners,
# and beyond them, reaches the screen's corners; F11 and Alt+Enter switch to a
# window and back; the demo recorded replays in a window and headless.
set -u
source "$(dirname "$0")/xvfb_lib.sh"
game="$1"

# max_in IMAGE GEOMETRY: the brightest channel value in that part of IMAGE.
max_in() { convert "$1" -crop "$2" +repage -format '%[fx:round(maxima*255)]' info:; }

XVFB_SCREEN=1280x1024x24 begin_test
printf 'screenx=600\nscreeny=400\n' >"$workdir/vorn_config.txt"
demo="$workdir/full.demo"
start_game "$game" "$workdir" --fullscreen --record "$demo" || exit 1
sleep 1
# Space pauses, so that the picture holds still while it is compared.
xdotool key space
sleep 0.5
take_screenshot "$workdir" || exit 1
[ "$(bmp_size "$shot")" = "600 400" ] || fail "the screenshot in fullscreen is $(bmp_size "$shot")"
import -window root "$workdir/root.png"
[ "$(identify -format %wx%h "$workdir/root.png")" = "1280x1024" ] || fail "the display is not 1280 x 1024"
# 600 x 400 at scale 2 is 1200 x 800, at (40, 112): black above, below and
# beside it.
for border in 1280x112+0+0 1280x112+0+912 40x800+0+112 40x800+1240+112; do
  [ "$(max_in "$workdir/root.png" "$border")" = "0" ] || fail "the border $border is not black"
done
convert "$workdir/root.png" -crop 1200x800+40+112 +repage "$workdir/picture.png"
convert "$workdir/picture.png" -sample 50% -sample 200% "$workdir/blocks.png"
changed=$(compare -metric AE "$workdir/picture.png" "$workdir/blocks.png" null: 2>&1)
[ "$changed" = "0" ] || fail "$changed pixels of the picture are not in 2 x 2 blocks"
# The status bar (the screen's top 18 rows) is the screenshot's, doubled.
convert "$shot" -crop 600x18+0+0 +repage "$workdir/bar.png"
convert "$workdir/picture.png" -crop 1200x36+0+0 +repage -sample 50% "$workdir/shown_bar.png"
changed=$(compare -metric AE "$workdir/bar.png" "$workdir/shown_bar.png" null: 2>&1)
[ "$changed" = "0" ] || fail "the status bar shown differs from the screenshot's in $changed pixels"
xdotool key space

# The picture's corners, and the display's, seen as the screen's corners.
for at in "40 112" "1239 911" "0 0" "1279 1023" "41 113"; do
  xdotool mousemove $at
  sleep 0.3
done

# F11: a window of the screen's size; Alt+Enter: fullscreen again.
xdotool key F11
sleep 1
# A new video mode may come in a new window (it does on SDL2).
find_window || fail "no window after F11"
geometry=$(xdotool getwindowgeometry "$window_id" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "600x400" ] || fail "after F11 the window is $geometry"
press_key alt+Return
sleep 1
import -window root "$workdir/again.png"
[ "$(max_in "$workdir/again.png" 1280x112+0+0)" = "0" ] && [ "$(max_in "$workdir/again.png" 1200x800+40+112)" != "0" ] ||
  fail "Alt+Enter did not bring fullscreen back"
xdotool key Escape
wait_game 10 || fail "the game did not end after Escape"
[ "$game_rc" -eq 0 ] || fail "exit code after Escape: $game_rc"

events=$(grep '^e 5 ' "$demo" | cut -d' ' -f3-4 | tr '\n' ',')
[[ "$events" == *"0 0,599 399,0 0,599 399,0 0,"* ]] ||
  fail "the pointer at the picture's and the display's corners gave $events"
! grep -q "^e [34] 0 0 \(292\|13\) " "$demo" || fail "F11 or Alt+Enter reached the game"
"$game" --headless --play "$demo" 2>"$workdir/err" || fail "the fullscreen demo does not replay headless: $(cat "$workdir/err")"
start_game "$game" "$workdir" --play "$demo" || exit 1
wait_game 60 || fail "the replay in a window did not end"
[ "$game_rc" -eq 0 ] || fail "the fullscreen demo does not replay in a window: exit $game_rc"
echo "fullscreen: 1280 x 1024 covered, 600 x 400 shown at scale 2 in the middle, pointer corners mapped, F11 and Alt+Enter switch, demo replays: ok"
