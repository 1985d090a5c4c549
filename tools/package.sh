#!/usr/bin/env bash
# Builds the Debian package in a Release build of its own (build/package),
# checks it with lintian, then installs it with apt on this machine: the game
# must be on the PATH and in the menu, answer --version, play a short
# headless game and replay a golden demo; finally removes it and checks that
# none of its files is left. Needs root (or sudo) for apt.
# usage: tools/package.sh [--no-install]
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
fail() { echo "FAIL: $*" >&2; exit 1; }

build=build/package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="-D_FORTIFY_SOURCE=2 -fstack-protector-strong" \
  -DCMAKE_EXE_LINKER_FLAGS="-Wl,-z,relro -Wl,-z,now" >/dev/null
nice cmake --build "$build"
rm -f "$build"/vorn_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/vorn_*.deb)
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Section Depends

# lintian: no errors; the warnings kept are listed in the README.
lintian --tag-display-limit 0 "$deb" | tee "$build/lintian.txt"
! grep -q '^E: ' "$build/lintian.txt" || fail "lintian found errors"

[ "${1:-}" = --no-install ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
dpkg-query -W vorn >/dev/null 2>&1 && fail "vorn is already installed; remove it first"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" >/dev/null
files=$(dpkg -L vorn)
cleanup() { $sudo env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq vorn >/dev/null 2>&1 || true; }
trap cleanup EXIT

# The PATH every user gets at login.
user_path=$(sed -n 's/^ENV_PATH[[:space:]]*PATH=//p' /etc/login.defs)
[ "$(PATH=$user_path command -v vorn)" = /usr/games/vorn ] || fail "vorn is not on the PATH"
[ -f /usr/share/applications/vorn.desktop ] || fail "vorn is not in the menu"
desktop-file-validate /usr/share/applications/vorn.desktop || fail "desktop entry"
/usr/games/vorn --version
play=$(mktemp -d)
(cd "$play" && /usr/games/vorn --headless --no-sound --frames 200 --fixed-dt 0.01 --summary) | grep -q '"frames":200' ||
  fail "the installed game does not play"
rm -rf "$play"
/usr/games/vorn --headless --play tests/demos/shoot_enemy.demo || fail "the installed game does not replay a golden demo"

trap - EXIT
$sudo env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq vorn >/dev/null
! dpkg-query -W vorn >/dev/null 2>&1 || fail "vorn is still installed"
left=0
while read -r f; do
  # Directories such as /usr/share/man stay when other packages share them.
  if [ -e "$f" ] && ! [ -d "$f" ]; then echo "left behind: $f" >&2; left=1; fi
done <<<"$files"
for d in /usr/share/doc/vorn; do [ ! -e "$d" ] || { echo "left behind: $d" >&2; left=1; }; done
[ "$left" -eq 0 ] || fail "files left after removal"
echo "package ok: lintian, install, PATH, menu, play, replay, removal"
