#!/usr/bin/env bash
# The command line: help and version, bad options, the configuration file
# options, and runs without a window.
set -u
game="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
fail() { echo "FAIL: $*"; exit 1; }

"$game" --help >out 2>err || fail "--help exit code $?"
grep -q -- "--print-config" out || fail "--help does not list the options"
"$game" --version >out || fail "--version exit code $?"
"$game" --bogus >out 2>err; [ $? -eq 2 ] || fail "an unknown option must exit 2"
# A bad command line: its one line and where to look, not the whole usage.
[ "$(cat err)" = "vorn: unknown option '--bogus'
Try 'vorn --help' for more information." ] || fail "the report of an unknown option: $(cat err)"
"$game" --max-fps 1000001 2>err; [ $? -eq 2 ] || fail "--max-fps 1000001 must exit 2"
grep -q "from 1 to 1000000" err || fail "the refusal of --max-fps must name its range: $(cat err)"
"$game" --headless --export-every 2 2>err; [ $? -eq 2 ] || fail "--export-every without --export-frames must exit 2"
[ "$(wc -l <err)" -eq 2 ] || fail "a bad command line must give two lines: $(cat err)"
"$game" --frames -3 2>/dev/null; [ $? -eq 2 ] || fail "a bad --frames value must exit 2"
"$game" --fixed-dt nan 2>/dev/null; [ $? -eq 2 ] || fail "a bad --fixed-dt value must exit 2"
for n in 0 -1 two; do
  "$game" --threads $n 2>/dev/null; [ $? -eq 2 ] || fail "--threads $n must exit 2"
done
# VORN_ISA: a name the game does not know stops it with a message, exit 1.
VORN_ISA=sse9 "$game" --headless --frames 0 2>err; [ $? -eq 1 ] || fail "an unknown VORN_ISA must exit 1"
grep -q "VORN_ISA" err || fail "the message must name VORN_ISA"
VORN_ISA=baseline "$game" --headless --frames 0 || fail "VORN_ISA=baseline must run anywhere"
for bad in "--scale 0" "--scale 9" "--scale 2x" "--max-fps 0" "--export-every -1" "--export-frames d"; do
  # shellcheck disable=SC2086
  "$game" $bad 2>/dev/null; [ $? -eq 2 ] || fail "'$bad' must exit 2"
done

# Without a display, and without --headless, the game refuses at once with
# one line, rather than letting SDL draw into the terminal.
env -u DISPLAY -u SDL_VIDEODRIVER "$game" --frames 1 >out 2>err; rc=$?
[ "$rc" -eq 1 ] || fail "without a display the exit code is $rc"
[ "$(wc -l <err)" -eq 1 ] && grep -q "no X display" err && grep -q -- "--headless" err ||
  fail "the report without a display: $(cat err)"
[ ! -s out ] || fail "without a display something went to standard output: $(head -c 200 out)"
env -u DISPLAY -u SDL_VIDEODRIVER "$game" --headless --frames 1 || fail "--headless without a display exit code $?"
# A display that cannot be reached: the same, naming it.
env -u SDL_VIDEODRIVER DISPLAY=:9997 "$game" --frames 1 >out 2>err; rc=$?
[ "$rc" -eq 1 ] || fail "with an unreachable display the exit code is $rc"
[ "$(wc -l <err)" -eq 1 ] && grep -q "X display :9997" err || fail "the report on an unreachable display: $(cat err)"
[ ! -s out ] || fail "with an unreachable display something went to standard output: $(head -c 200 out)"

# --print-config prints what a configuration file sets, and reads back the same.
printf 'screenx = 640\nspawn_x=1e2\n' >vorn_config.txt
"$game" --print-config >printed || fail "--print-config exit code $?"
grep -qx "screenx=640" printed || fail "--print-config does not show the file's setting"
grep -qx "spawn_x=100.0" printed || fail "--print-config does not show the real setting"
"$game" --config printed --print-config >again || fail "--config exit code $?"
cmp -s printed again || fail "printed settings do not read back the same"
"$game" --config missing.txt --print-config >out 2>err; [ $? -eq 1 ] || fail "a missing --config file must exit 1"
grep -q "missing.txt" err || fail "the report on a missing --config file must name it: $(cat err)"
[ "$(wc -l <err)" -eq 1 ] || fail "the report on a missing --config file is not one line: $(cat err)"

# A configuration file that exists but cannot be read stops the game before any window.
rm vorn_config.txt && mkdir vorn_config.txt
SDL_VIDEODRIVER=dummy "$game" --frames 1 2>err; [ $? -eq 1 ] || fail "an unreadable configuration must exit 1"
grep -q "vorn_config.txt" err || fail "the report must name the file"
rmdir vorn_config.txt

# Headless runs end normally after the given number of frames.
"$game" --headless --frames 0 || fail "--frames 0 exit code $?"
"$game" --headless --frames 30 --fixed-dt 0.0166 || fail "--frames 30 exit code $?"
"$game" --headless --threads 99 --frames 3 || fail "--threads above the cap exit code $?"
"$game" --headless --threads 99999999999999999999 --frames 3 || fail "a huge --threads value exit code $?"

# Without a sound device: exactly one line, the game's own.
SDL_AUDIODRIVER=alsa AUDIODEV=nosuchdevice "$game" --headless --sound --frames 2 >out 2>err ||
  fail "without a sound device the exit code is $?"
[ "$(wc -l <err)" -eq 1 ] && grep -q "^vorn: no sound" err || fail "the report without a sound device: $(cat err)"
echo "command line: ok"
