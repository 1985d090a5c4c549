#!/usr/bin/env bash
# Builds the Debian package (CPack) in build/package and checks it: lintian
# finds no error; installed with apt, the game is on the PATH and in the
# menu, runs and replays the golden demos; removed again, it leaves no file
# behind. The package ends up in build/package/. With --no-install only the build and lintian run.
#   tools/package.sh [--no-install]
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" lintian file dpkg-dev
build=build/package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DVORN_BINDIR=games >/dev/null
cmake --build "$build"
rm -f "$build"/vorn_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/vorn_*.deb)"
echo "package: $deb"
dpkg-deb --info "$deb" | grep -E '^ (Package|Version|Section|Depends|Maintainer):'

# lintian: errors fail; the warnings kept are listed in the README.
lintian --tag-display-limit 0 "$deb" | tee "$build/lintian.txt"
if grep -q '^E: ' "$build/lintian.txt"; then
  echo "package: lintian reports errors" >&2
  exit 1
fi

[ "${1:-}" = "--no-install" ] && exit 0
if dpkg -s vorn >/dev/null 2>&1; then
  echo "package: vorn is installed already; remove it first (apt-get remove vorn)" >&2
  exit 1
fi
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
files="$(dpkg-deb --contents "$deb" | awk '{print $NF}' | sed 's|^\./|/|' | grep -v '/$')"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" >/dev/null
trap '$sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq vorn >/dev/null 2>&1 || true' EXIT
# A user's login shell has /usr/games on its PATH (root's has not).
found="$(runuser -u nobody -- sh -lc 'command -v vorn' || true)"
[ "$found" = /usr/games/vorn ] || { echo "package: vorn is not on a user's PATH ($found)" >&2; exit 1; }
[ -f /usr/share/applications/vorn.desktop ] || { echo "package: no menu entry" >&2; exit 1; }
/usr/games/vorn --version
(cd "$(mktemp -d)" && /usr/games/vorn --headless --frames 60 --fixed-dt 0.0166 --summary >/dev/null) ||
  { echo "package: the installed game does not run" >&2; exit 1; }
# The packaged game (stripped, built in a tree of its own) plays the golden
# demos exactly as they were recorded.
bash tests/e2e/golden_demos.sh /usr/games/vorn format2 ||
  { echo "package: the installed game does not replay the golden demos" >&2; exit 1; }
$sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq vorn >/dev/null
trap - EXIT
left=""
for f in $files; do
  [ ! -e "$f" ] || left="$left $f"
done
[ -z "$left" ] || { echo "package: removing it left$left" >&2; exit 1; }
echo "package: installs, runs, is in the menu, and leaves nothing behind when removed: ok"
