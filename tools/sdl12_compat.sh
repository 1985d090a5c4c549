#!/usr/bin/env bash
# Runs every real-window end-to-end test (those on an Xvfb display of their
# own) with GAME on the SDL 1.2 that newer distributions ship: sdl12-compat,
# which runs SDL 1.2 programs on SDL2. Debian's libsdl1.2-compat cannot be
# installed beside the classic libsdl1.2debian, so it is unpacked into
# build/sdl12-compat and put first on LD_LIBRARY_PATH; SDL2 (libsdl2-2.0-0) is
# installed as usual. Usage: tools/sdl12_compat.sh GAME [TEST-NAME...]
set -uo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
game="$1"
shift
ensure_packages libsdl2-2.0-0
dir="$PWD/build/sdl12-compat"
lib="$dir/root/usr/lib/$(gcc -print-multiarch)/sdl12-compat"
if [ ! -e "$lib/libSDL-1.2.so.0" ]; then
  mkdir -p "$dir"
  rm -rf "$dir/root" "$dir"/libsdl1.2-compat_*.deb
  # apt-get download needs the package lists; fetch them once if it fails.
  if ! (cd "$dir" && apt-get download libsdl1.2-compat >/dev/null 2>&1); then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get -o DPkg::Lock::Timeout=900 update -qq >/dev/null
    (cd "$dir" && apt-get download libsdl1.2-compat >/dev/null) || exit 1
  fi
  dpkg -x "$dir"/libsdl1.2-compat_*.deb "$dir/root" || exit 1
fi
[ -e "$lib/libSDL-1.2.so.0" ] || { echo "libsdl1.2-compat holds no libSDL-1.2.so.0 in $lib" >&2; exit 1; }

passed=0
failed=()
for script in "$PWD"/tests/e2e/*.sh; do
  name=$(basename "$script" .sh)
  [ "$name" = xvfb_lib ] && continue
  grep -q 'xvfb_lib\.sh' "$script" || continue
  [ $# -gt 0 ] && [[ " $* " != *" $name "* ]] && continue
  start=$(date +%s)
  # VORN_EXPECT_SDL2: the tests check that the game really runs on SDL2.
  if LD_LIBRARY_PATH="$lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" VORN_EXPECT_SDL2=1 \
    timeout 300 bash "$script" "$game" >"$dir/$name.log" 2>&1; then
    passed=$((passed + 1))
    echo "sdl12-compat $name: passed in $(( $(date +%s) - start )) s"
  else
    failed+=("$name")
    echo "sdl12-compat $name: FAILED in $(( $(date +%s) - start )) s"
    tail -n 20 "$dir/$name.log"
  fi
done
echo "sdl12-compat: ${passed} passed, ${#failed[@]} failed"
[ ${#failed[@]} -eq 0 ]
