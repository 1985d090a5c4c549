#!/usr/bin/env bash
# Sound is output only: every golden demo replays to the same checksums and
# the same final world with sound playing (through SDL's disk audio driver)
# as without, and the sound really played. Without a usable audio device the
# game plays on after one line on standard error; the sound options refuse
# bad values.
set -u
game="$1"
demos="$(dirname "$0")/../demos"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

for demo in "$demos"/*.demo; do
  name=$(basename "$demo")
  quiet=$("$game" --headless --play "$demo" --summary) || fail "$name does not replay without sound"
  loud=$(SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/$name.raw" SDL_DISKAUDIODELAY=1 \
    "$game" --headless --sound --play "$demo" --summary 2>"$work/err") ||
    fail "$name does not replay with sound: $(cat "$work/err")"
  [ "$quiet" = "$loud" ] || fail "$name ends differently with sound:
  without: $quiet
  with:    $loud"
  [ -s "$work/$name.raw" ] || fail "$name: no sound was played"
done

# No usable device: one line, and the game runs to its end.
SDL_AUDIODRIVER=dummy "$game" --headless --sound --frames 5 >/dev/null 2>"$work/err" ||
  fail "the game stops without an audio device"
[ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "no sound" "$work/err" ||
  fail "without an audio device, standard error says: $(cat "$work/err")"
# A headless run makes no sound unless asked, and says nothing about it.
SDL_AUDIODRIVER=dummy "$game" --headless --frames 5 >/dev/null 2>"$work/err" || fail "a headless run failed"
[ ! -s "$work/err" ] || fail "a headless run without --sound printed: $(cat "$work/err")"

for bad in "--volume 101" "--volume -1" "--volume loud" "--volume" "--sound --no-sound"; do
  # shellcheck disable=SC2086
  "$game" --headless --frames 0 $bad >/dev/null 2>&1
  rc=$?
  [ "$rc" -eq 2 ] || fail "'$bad' gave exit code $rc, not 2"
done
"$game" --headless --frames 0 --volume 0 --no-sound >/dev/null || fail "--volume 0 --no-sound refused"
echo "demos replay the same with sound on and off; sound options and a missing device: ok"
