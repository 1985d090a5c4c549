#!/usr/bin/env bash
# A game killed with SIGKILL while recording leaves a demo that replays up to
# its last checksum: exit 0, every checksum checked, one line saying that it
# ends early, also with glibc's generic code paths forced.
set -u
game="$1"
workdir=$(mktemp -d)
trap 'rm -rf "$workdir"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}
cd "$workdir" || exit 1
printf 'screenx=320\nscreeny=240\n' >small.txt

SDL_VIDEODRIVER=dummy "$game" --config small.txt --headless --fixed-dt 0.0166 --record killed.demo \
  >/dev/null 2>err &
pid=$!
# Until a few checksums are on disk (the recorder flushes after each).
for _ in $(seq 1 300); do
  checks=$(grep -c '^c ' killed.demo 2>/dev/null)
  [ "${checks:-0}" -ge 3 ] && break
  sleep 0.05
done
kill -KILL "$pid"
wait "$pid" 2>/dev/null
checks=$(grep -c '^c ' killed.demo)
[ "$checks" -ge 3 ] || fail "the killed game left $checks checksums on disk"
grep -q '^end ' killed.demo && fail "a killed game wrote an end record"
last=$(grep -E '^c [0-9]+ [0-9a-f]{16}$' killed.demo | tail -n 1 | cut -d' ' -f2)

for variant in plain generic; do
  if [ "$variant" = generic ]; then export GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2,-FMA,-AVX512F; fi
  "$game" --headless --play killed.demo >out 2>err
  rc=$?
  [ "$rc" -eq 0 ] || fail "the killed game's demo ($variant): exit code $rc: $(head -c 600 err)"
  [ "$(wc -l <err)" -eq 1 ] || fail "the killed game's demo ($variant): more than one line: $(head -c 600 err)"
  grep -q "ends early (no end record): $last frames played and checked" err ||
    fail "the killed game's demo ($variant): $(cat err)"
  unset GLIBC_TUNABLES
done

# A line damaged before the last checksum still refuses the whole demo.
awk 'NR == 5 { print "f x y"; next } { print }' killed.demo >damaged.demo
"$game" --headless --play damaged.demo >out 2>err
rc=$?
[ "$rc" -eq 2 ] || fail "a damaged line before the last checksum: exit code $rc: $(head -c 600 err)"
echo "killed recording: $checks checksums on disk, replays to frame $last: ok"
