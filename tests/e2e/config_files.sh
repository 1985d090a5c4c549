#!/usr/bin/env bash
# Where the settings are read from and written to: the working directory's
# vorn_config.txt first, then the one in the desktop's configuration folder;
# --write-config keeps the settings and a full disk leaves the old file
# whole; --print-config never prints into the file it reads; files that
# cannot or must not be read are refused with their reason; an unreadable
# default file only warns. Usage: bash config_files.sh path/to/vorn
set -u
game=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
chmod 755 "$dir"
cd "$dir"
fail() { echo "FAIL: $*"; exit 1; }
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
export HOME="$dir/home"
unset XDG_CONFIG_HOME
mkdir -p "$HOME" work
cd work
user_file="$HOME/.config/vorn/vorn_config.txt"

# run EXPECTED_CODE WHAT ARGS...: bounded in time, stdout in out, stderr in err.
run() {
  local want="$1" what="$2"
  shift 2
  timeout 60 "$game" "$@" >out 2>err
  local code=$?
  [ "$code" -ne 124 ] || fail "$what: still running after 60 s"
  [ "$code" -eq "$want" ] || fail "$what: exit code $code, wanted $want; stderr: $(head -c 600 err)"
}
setting() { grep -x "$1=.*" out | cut -d= -f2; }

# --- Where the settings come from --------------------------------------------------
run 0 "no file anywhere" --print-config
grep -q "no configuration file read (looked for vorn_config.txt in the working directory and $user_file)" err ||
  fail "--print-config does not say that nothing was read: $(cat err)"
[ "$(setting enemy_count)" = 5 ] || fail "the defaults are not printed"

# Nothing read, nothing named: --write-config writes the user's file.
run 0 "--write-config with no file" --write-config
grep -qx "vorn: settings written to $user_file" out || fail "--write-config does not say where: $(cat out)"
[ "$(stat -c %a "$HOME/.config/vorn")" = 700 ] || fail "the settings folder is not private"
printf 'enemy_count=8\n' >"$user_file"
run 0 "the user's file" --print-config
[ "$(setting enemy_count)" = 8 ] || fail "the user's file is not read"
grep -qx "vorn: settings read from $user_file" err || fail "--print-config does not name the user's file: $(cat err)"
mkdir -p "$dir/xdg/vorn" && printf 'enemy_count=9\n' >"$dir/xdg/vorn/vorn_config.txt"
XDG_CONFIG_HOME="$dir/xdg//" run 0 "XDG_CONFIG_HOME" --print-config
[ "$(setting enemy_count)" = 9 ] || fail "the file under XDG_CONFIG_HOME is not read"
XDG_CONFIG_HOME=xdg run 0 "a relative XDG_CONFIG_HOME" --print-config  # not absolute: ignored
[ "$(setting enemy_count)" = 8 ] || fail "a relative XDG_CONFIG_HOME is not ignored"
ln -s nowhere vorn_config.txt
run 0 "a link that leads nowhere" --print-config
[ "$(setting enemy_count)" = 8 ] || fail "a dangling vorn_config.txt hides the user's file"
rm vorn_config.txt
(unset HOME && run 0 "no HOME" --print-config) || exit 1
grep -q "(looked for vorn_config.txt in the working directory); " err || fail "no HOME: $(cat err)"
HOME=/nonexistent/home run 1 "a home that is not there" --write-config
grep -q "cannot make the folder of /nonexistent/home/.config/vorn/vorn_config.txt: No such file" err ||
  fail "a home that is not there: $(cat err)"

# The working directory's file comes first, and --write-config keeps what it
# sets (with a byte-order mark, as some editors write it).
printf '\xef\xbb\xbfenemy_count=11 // mine\nai_ds_repulse=100000000000\n' >vorn_config.txt
run 0 "--write-config" --write-config
grep -qx "vorn: settings written to vorn_config.txt" out || fail "--write-config: $(cat out)"
grep -qx "enemy_count=11" vorn_config.txt || fail "--write-config lost the file's setting: $(cat vorn_config.txt)"
grep -qx "ai_ds_repulse=1e+11" vorn_config.txt || fail "an integer literal of a real key: $(grep ai_ds vorn_config.txt)"
run 0 "the written file" --print-config
cmp -s out vorn_config.txt || fail "the written file does not print back the same"
grep -qx "enemy_count=8" "$user_file" || fail "the user's file was touched"
ls ./*.tmp-* 2>/dev/null && fail "temporary files left behind"

# --- The recipe that used to empty the file -----------------------------------------
"$game" --print-config >vorn_config.txt 2>err
[ $? -eq 1 ] || fail "--print-config into the file it reads must exit 1"
grep -q "standard output is vorn_config.txt, the configuration file being read: " err ||
  fail "--print-config into its own file does not say why: $(cat err)"
[ ! -s vorn_config.txt ] || fail "--print-config printed into the file it read"

# --- Files that are not read --------------------------------------------------------
rm vorn_config.txt && mkfifo vorn_config.txt
run 1 "a FIFO as vorn_config.txt" --print-config
grep -q "a FIFO (named pipe), not a regular file" err || fail "a FIFO: $(cat err)"
rm vorn_config.txt
truncate -s 100M big.txt  # sparse: no disk, no time
run 1 "a 100 MB configuration" --config big.txt --print-config
grep -q "cannot read configuration file big.txt: larger than 1 MiB (104857600 bytes)" err || fail "100 MB: $(cat err)"

# A file that cannot be opened: named, it stops the game; found by default,
# one warning and the defaults. Root opens any file, so the game runs as
# nobody then.
as_user=()
# (A coverage build then writes its counts where nobody may, not onto stderr.)
mkdir -m 777 "$dir/gcov"
[ "$(id -u)" -eq 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups env GCOV_PREFIX="$dir/gcov")
printf 'enemy_count=3\n' >vorn_config.txt
chmod 000 vorn_config.txt
chmod 777 .
if "${as_user[@]}" true 2>/dev/null; then
  "${as_user[@]}" timeout 60 "$game" --config vorn_config.txt --print-config >out 2>err
  [ $? -eq 1 ] || fail "an unreadable --config must exit 1"
  grep -qx "vorn: cannot open configuration file vorn_config.txt: Permission denied" err || fail "unreadable --config: $(cat err)"
  "${as_user[@]}" timeout 60 "$game" --headless --frames 1 --no-sound --summary >out 2>err
  [ $? -eq 0 ] || fail "an unreadable vorn_config.txt must still play: $(cat err)"
  [ "$(wc -l <err)" -eq 1 ] && grep -q "Permission denied; the default settings are used" err ||
    fail "an unreadable vorn_config.txt must warn in one line: $(cat err)"
  "${as_user[@]}" timeout 60 "$game" --write-config >out 2>err
  [ $? -eq 1 ] || fail "--write-config over a file it cannot read must exit 1"
else
  echo "config_files: no other user to run as; unreadable files not tried"
fi
rm -f vorn_config.txt

# --- A full disk ---------------------------------------------------------------------
# The settings written onto a full file system (a small tmpfs, in a mount
# namespace of its own) fail with the reason and leave the old file whole.
# Where no namespace can be made, a file size limit fails the write alike.
full_disk() {
  mkdir full
  mount -t tmpfs -o size=12k tmpfs full || return 2
  cd full
  printf 'enemy_count=11\n' >vorn_config.txt
  head -c 1M /dev/zero >filler 2>/dev/null
  printf 'enemy_count=12\n' >../new.txt
  timeout 60 "$game" --config ../new.txt --write-config vorn_config.txt >../out 2>../err
  echo $? >../code
  ls -A >../left
  cat vorn_config.txt >../kept
}
export -f full_disk
export game
if unshare -rm bash -c full_disk 2>/dev/null; then
  how="a full 12 KiB tmpfs"
  reason="No space left on device"
else
  rmdir full 2>/dev/null
  how="a file size limit"
  reason="File too large"
  printf 'enemy_count=11\n' >vorn_config.txt
  printf 'enemy_count=12\n' >new.txt
  # No file may grow at all; the messages go through a pipe, which may.
  (trap "" XFSZ; ulimit -f 0; exec timeout 60 "$game" --config new.txt --write-config vorn_config.txt) 2>&1 >/dev/null |
    cat >err
  echo "${PIPESTATUS[0]}" >code
  ls -A | grep -e vorn_config >left
  cp vorn_config.txt kept
fi
[ "$(cat code)" -eq 1 ] || fail "writing onto $how: exit code $(cat code), wanted 1: $(cat err)"
grep -q "cannot write the settings to vorn_config.txt: $reason (the file is as it was)" err ||
  fail "writing onto $how: $(cat err)"
[ "$(cat kept)" = "enemy_count=11" ] || fail "writing onto $how did not leave the old file whole: $(cat kept)"
grep -q "tmp" left && fail "writing onto $how left a temporary file: $(cat left)"

# --- Memory ---------------------------------------------------------------------------
# A burst of sparks whose pool would need more than half of this machine's
# memory while it grows (200 million: 15 GB held, 22 GB while it moves) is
# refused before the first frame.
mem_kb=$(awk '/^MemTotal:/ { print $2 }' /proc/meminfo)
if [ "$mem_kb" -lt 40000000 ]; then
  printf 'spawn_particles=200000000\n' >sparks.txt
  run 1 "spawn_particles=200000000" --config sparks.txt --headless --frames 1 --no-sound
  grep -q "out of memory" err || fail "spawn_particles=200000000: $(cat err)"
fi
echo "config_files: read, written and refused as they should be (full disk: $how): ok"
