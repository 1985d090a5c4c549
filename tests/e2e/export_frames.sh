#!/usr/bin/env bash
# --export-frames writes the replayed frames as PNG files of the screen's size,
# in a window at any scale as headless; --export-every keeps every K-th; a
# directory that cannot be made stops the replay with exit code 1.
set -u
source "$(dirname "$0")/xvfb_lib.sh"
game="$1"
demo="$(dirname "$0")/../demos/victory.demo"
frames=$(grep -c '^f ' "$demo")

XVFB_SCREEN=1920x1440x24 begin_test
"$game" --headless --play "$demo" --export-frames "$workdir/all" 2>"$workdir/err" ||
  fail "headless export exit code $?: $(head -c 400 "$workdir/err")"
[ "$(ls "$workdir/all" | wc -l)" -eq "$frames" ] || fail "$(ls "$workdir/all" | wc -l) files for $frames frames"
first="$workdir/all/frame-000001.png"
last="$workdir/all/$(printf 'frame-%06d.png' "$frames")"
[ "$(identify -format '%m %w %h' "$first")" = "PNG 800 600" ] || fail "the first frame is $(identify "$first")"
colours=$(convert "$last" -format %k info:)
[ "$colours" -gt 20 ] || fail "the last frame shows only $colours colours"

# In a window at scale 2, every 10th frame: the same pictures, screen-sized.
start_game "$game" "$workdir" --scale 2 --play "$demo" --export-frames "$workdir/some" --export-every 10 || exit 1
wait_game 60 || fail "the replay in a window did not end"
[ "$game_rc" -eq 0 ] || fail "the replay in a window exited $game_rc"
[ "$(ls "$workdir/some" | wc -l)" -eq $((frames / 10)) ] || fail "$(ls "$workdir/some" | wc -l) files for every 10th of $frames frames"
for f in "$workdir"/some/*.png; do
  differ=$(compare -metric AE "$f" "$workdir/all/$(basename "$f")" null: 2>&1)
  [ "$differ" = "0" ] || fail "$(basename "$f") from the scaled window differs from the headless one in $differ pixels"
done

touch "$workdir/file"
"$game" --headless --play "$demo" --export-frames "$workdir/file/sub" 2>"$workdir/err"; rc=$?
[ "$rc" -eq 1 ] || fail "an impossible frame directory gave exit code $rc"
grep -q "$workdir/file/sub" "$workdir/err" || fail "the report does not name the directory: $(cat "$workdir/err")"
echo "export: $frames PNG frames of 800 x 600 headless, every 10th in a scaled window the same: ok"
