#!/usr/bin/env bash
# How the game fails: settings that ask for more memory than there is, a
# window of no size, configuration files that cannot be read or hold junk,
# and damaged demos. Each ends with its exit code and a message, never with
# a crash, a hang or a sanitizer report. Usage: bash failures.sh path/to/vorn
set -u
game=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
fail() { echo "FAIL: $*"; exit 1; }
# The font and the background live until the process ends, so leak checks
# stay off, as in ./test.sh.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"

# A sanitizer build reserves terabytes of address space for its shadow
# memory, so it cannot run under `ulimit -v`; there only the game's own
# check of its requests against the machine's memory is tried.
asan=0
if ldd "$game" 2>/dev/null | grep -q libasan || grep -qa __asan_init "$game"; then asan=1; fi

# run EXPECTED_CODE WHAT ARGS...: the game, bounded in time, must end with
# the code and report nothing but its own message.
run() {
  local want="$1" what="$2"
  shift 2
  timeout 120 "$game" "$@" >out 2>err
  local code=$?
  [ "$code" -ne 124 ] || fail "$what: still running after 120 s"
  [ "$code" -eq "$want" ] || fail "$what: exit code $code, wanted $want; stderr: $(head -c 600 err)"
  if grep -q -e "runtime error" -e "AddressSanitizer" -e "Segmentation" err; then
    fail "$what: $(head -c 600 err)"
  fi
}

# --- Memory ---------------------------------------------------------------------
# Counts whose records cannot fit in any machine's memory are refused at the
# game reset, before the first frame, with one line and exit code 1.
for setting in spawn_particles=2147483647 enemy_count=2147483647 impact_particles=2147483647; do
  printf '%s\n' "$setting" >huge.txt
  run 1 "$setting" --config huge.txt --headless --frames 5 --fixed-dt 0.0166
  grep -q "out of memory" err || fail "$setting: no out-of-memory message: $(cat err)"
  [ "$(wc -l <err)" -eq 1 ] || fail "$setting: more than one line on stderr: $(cat err)"
done
# Under an address-space limit, counts that would fit the machine but not
# the limit are refused the same way, whether the game's own check or a
# failed allocation finds them first.
if [ "$asan" -eq 0 ]; then
  for setting in enemy_count=20000000 spawn_particles=10000000 spawn_particles=200000000; do
    printf '%s\n' "$setting" >limit.txt
    (ulimit -v 1000000 && run 1 "$setting under ulimit -v" --config limit.txt --headless --frames 5 --fixed-dt 0.0166) ||
      exit 1
    grep -q "out of memory" err || fail "$setting under ulimit -v: no out-of-memory message: $(cat err)"
  done
fi

# --- The window -------------------------------------------------------------------
for size in "0 -5" "-2147483648 600" "800 0" "600000000 1"; do
  set -- $size
  printf 'screenx=%s\nscreeny=%s\n' "$1" "$2" >window.txt
  run 1 "a window of $1 x $2" --config window.txt --headless --frames 5
  [ -s err ] || fail "a window of $1 x $2: no message"
done

# --- Configuration files ----------------------------------------------------------
# A file that cannot be read stops the game before any window: without a
# display and without --headless, the only report is the configuration's.
mkdir config_dir
(unset DISPLAY && run 1 "a directory as configuration" --config config_dir --frames 5) || exit 1
grep -q "config_dir" err || fail "the report must name the configuration: $(cat err)"
grep -qi "sdl\|video\|window" err && fail "a window was tried before the configuration was read: $(cat err)"

# Junk is no configuration: it leaves or zeroes settings, and the game
# either plays or refuses with a message.
head -c 4000 /dev/urandom >junk.txt
printf 'dt_max=1e999\ndef_ds_radius=-1e999\nblow_temp=nan\nenemy_count=0x7fffffffffff\n' >>junk.txt
printf 'screenx=320\nscreeny=240\n%*s\n' 3000 "x" >>junk.txt
timeout 120 "$game" --config junk.txt --headless --frames 60 --fixed-dt 0.0166 >out 2>err
code=$?
[ "$code" -eq 0 ] || [ "$code" -eq 1 ] || fail "a junk configuration: exit code $code: $(head -c 600 err)"
grep -q -e "runtime error" -e "AddressSanitizer" err && fail "a junk configuration: $(head -c 600 err)"

# --- Demos ------------------------------------------------------------------------
printf 'screenx=320\nscreeny=240\n' >small.txt
run 0 "recording a demo" --config small.txt --headless --frames 70 --fixed-dt 0.0166 --record good.demo
run 0 "replaying the demo" --play good.demo --headless

run 2 "a missing demo" --play no-such.demo --headless
run 2 "a directory as demo" --play config_dir --headless
: >empty.demo
run 2 "an empty demo" --play empty.demo --headless
head -c 3000 /dev/urandom >random.demo
run 2 "random bytes as a demo" --play random.demo --headless
head -c "$(($(wc -c <good.demo) / 2))" good.demo >half.demo
run 0 "a demo cut in half (replayed to its last checksum)" --play half.demo --headless
grep -q "ends early" err || fail "a demo cut in half: no early-end line: $(head -c 600 err)"
sed '0,/^f /s/^f [^ ]*/f nan/' good.demo >nan.demo
run 2 "a frame time that is not a number" --play nan.demo --headless
sed 's/^screen .*/screen 100000 100000/' good.demo >screen.demo
run 2 "an impossible screen size" --play screen.demo --headless
sed 's/^end .*/end 70/' good.demo >end.demo
run 2 "an end line without its checksum" --play end.demo --headless
sed 's/^c 60 .*/c 60 zzzzzzzzzzzzzzzz/' good.demo >check.demo
run 2 "a checksum that is not hex" --play check.demo --headless
grep -v '^end ' good.demo >noend.demo
run 0 "a demo without its end line" --play noend.demo --headless
grep -q "ends early (no end record): 60 frames played and checked" err ||
  fail "a demo without its end line: $(head -c 600 err)"
grep -v '^end ' check.demo >check_noend.demo
run 2 "a damaged checksum in a demo without its end line" --play check_noend.demo --headless

# Bytes changed anywhere: refused as damaged (2), or read and found not to
# replay (3), or, rarely, a change that keeps the game the same (0).
size=$(wc -c <good.demo)
for i in $(seq 1 12); do
  offset=$(((i * 7919) % size))
  cp good.demo flipped.demo
  printf '\x7f' | dd of=flipped.demo bs=1 seek="$offset" conv=notrunc 2>/dev/null
  timeout 120 "$game" --play flipped.demo --headless >out 2>err
  code=$?
  case "$code" in
    0 | 2 | 3) ;;
    *) fail "a demo changed at byte $offset: exit code $code: $(head -c 600 err)" ;;
  esac
  grep -q -e "runtime error" -e "AddressSanitizer" err && fail "a demo changed at byte $offset: $(head -c 600 err)"
done
# Events far outside the window read back fine and replay to a different game.
awk '/^f / && !done { print "e 5 -2147483648 2147483647 0 512"; print "e 7 0 0 0 512"; done = 1 } { print }' \
  good.demo >moved.demo
timeout 120 "$game" --play moved.demo --headless >out 2>err
code=$?
[ "$code" -eq 3 ] || [ "$code" -eq 0 ] || fail "a demo with far events: exit code $code: $(head -c 600 err)"
grep -q -e "runtime error" -e "AddressSanitizer" err && fail "a demo with far events: $(head -c 600 err)"
echo "failures: ok"
