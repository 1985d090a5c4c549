#!/usr/bin/env bash
# Key p in a real window: one BMP named after the local time, of the window's
# size, rows bottom-up, showing the black status bar with its white text; after
# Space a second one shows "Paused" in red below the centre.
set -u
source "$(dirname "$0")/xvfb_lib.sh"
game="$1"
w=800 h=600

begin_test
start_game "$game" "$workdir" || exit 1
mouse_move 400 300
sleep 0.5
day_before=$(date +%y%m%d)
take_screenshot "$workdir" || exit 1
day_after=$(date +%y%m%d)

# The name and the size.
files=$(ls -A "$workdir")
[ "$(wc -l <<<"$files")" -eq 1 ] || fail "expected one file after p, found: $files"
name=$(basename "$shot")
[[ "$name" =~ ^screenshot-([0-9]{6})_([01][0-9]|2[0-3])-[0-5][0-9]-[0-5][0-9]-[0-9]{3}\.bmp$ ]] ||
  fail "unexpected screenshot name '$name'"
day=${BASH_REMATCH[1]}
[ "$day" = "$day_before" ] || [ "$day" = "$day_after" ] || fail "'$name' is not dated today ($day_before)"
size=$(stat -c %s "$shot")
[ "$size" -eq $((54 + 4 * w * h)) ] || fail "$name is $size bytes long"
[ "$(head -c 2 "$shot")" = "BM" ] || fail "$name does not start with BM"
[ "$(bmp_size "$shot")" = "$w $h" ] || fail "$name has the header size $(bmp_size "$shot")"

# The status bar, the screen's top 18 rows, hence the file's last 18: black
# and white only, and both.
bar=$(bmp_pixels "$shot" $w $h 0 17 | awk '{ print $3 }' | sort | uniq -c | awk '{ print $2 ":" $1 }' | tr '\n' ' ')
[[ "$bar" =~ ^ff000000:[0-9]+\ ffffffff:[0-9]+\ $ ]] || fail "status bar colours (ARGB:count): $bar"

# "Paused" is drawn centred on x = w/2 with its top row at y = h/2 + 140.
# Red pixels near that place: none before Space, the word after it.
band_red() { bmp_pixels "$1" $w $h $((h / 2 + 130)) $((h / 2 + 160)) |
  awk -v w=$w '$1 > w / 2 - 80 && $1 < w / 2 + 80 && substr($3, 3) == "ff0000" { print $1, $2 }'; }
before=$(band_red "$shot")
[ -z "$before" ] || fail "red pixels below the centre before Space: $(head -c 200 <<<"$before")"
xdotool key space
sleep 0.3
take_screenshot "$workdir" || exit 1
after=$(band_red "$shot")
read -r count x0 x1 y0 y1 < <(awk 'NR == 1 { x0 = x1 = $1; y0 = y1 = $2 }
  { if ($1 < x0) x0 = $1; if ($1 > x1) x1 = $1; if ($2 < y0) y0 = $2; if ($2 > y1) y1 = $2 }
  END { print NR, x0 + 0, x1 + 0, y0 + 0, y1 + 0 }' < <(printf '%s' "$after"))
# The word's capitals fill glyph rows 0 to 6; its ends lie symmetric about
# the centre within the last glyph's blank columns.
if [ "$count" -lt 40 ] || [ "$y0" -lt $((h / 2 + 140)) ] || [ "$y1" -gt $((h / 2 + 146)) ] ||
  [ $((x0 + x1 - w)) -lt -8 ] || [ $((x0 + x1 - w)) -gt 8 ] || [ $((x1 - x0)) -lt 25 ]; then
  fail "after Space: $count red pixels in x $x0..$x1, y $y0..$y1"
fi

press_key Escape
wait_game 10 || fail "the game did not end after Escape"
[ "$game_rc" -eq 0 ] || fail "exit code after Escape: $game_rc"
echo "screenshot $name ($size bytes, black and white status bar) and the red \"Paused\": ok"
