#!/usr/bin/env bash
# `cmake --install` into a temporary root: every file of the layout is there,
# nothing lands outside the prefix, and the desktop entry, the AppStream data,
# the manual page and the icons pass their validators.
# usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$root" cmake --install "$build" --prefix /usr/local >/dev/null
u="$root/usr/local"

[ -z "$(find "$root" -mindepth 1 -maxdepth 1 ! -name usr)" ] || fail "files outside the prefix"
expected=(
  games/vorn
  share/applications/vorn.desktop
  share/metainfo/io.github.vorn_game.vorn.metainfo.xml
  share/man/man6/vorn.6.gz
  share/doc/vorn/README.md
  share/doc/vorn/copyright
  share/doc/vorn/changelog.gz
)
for size in 32 64 128 256; do expected+=("share/icons/hicolor/${size}x${size}/apps/vorn.png"); done
for f in "${expected[@]}"; do [ -s "$u/$f" ] || fail "missing $f"; done
count=$(find "$u" -type f | wc -l)
[ "$count" -eq "${#expected[@]}" ] || fail "$count files installed, ${#expected[@]} expected"
[ -x "$u/games/vorn" ] || fail "the game is not executable"

# Each icon: a PNG of its own size with an alpha channel, see-through in a
# corner and opaque in the middle.
for size in 32 64 128 256; do
  icon="$u/share/icons/hicolor/${size}x${size}/apps/vorn.png"
  got=$(identify -format '%m %w %h %[channels]' "$icon")
  [ "$got" = "PNG $size $size srgba" ] || fail "icon $size: $got"
  corner=$(convert "$icon" -format '%[fx:int(255*p{0,0}.a)]' info:)
  middle=$(convert "$icon" -format "%[fx:int(255*p{$((size / 2)),$((size / 2))}.a)]" info:)
  [ "$corner" = 0 ] && [ "$middle" = 255 ] || fail "icon $size: alpha $corner in a corner, $middle in the middle"
done

desktop-file-validate "$u/share/applications/vorn.desktop" || fail "desktop entry"
grep -qx 'Categories=Game;ArcadeGame;' "$u/share/applications/vorn.desktop" || fail "categories"
appstreamcli validate --no-net "$u/share/metainfo/io.github.vorn_game.vorn.metainfo.xml" >/dev/null ||
  fail "AppStream data"

warnings=$(MANWIDTH=80 man -l --warnings "$u/share/man/man6/vorn.6.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "manual page: $warnings"
page=$(MANWIDTH=200 man -l "$u/share/man/man6/vorn.6.gz" 2>/dev/null)
# Every configuration key the installed game knows, with its default.
while IFS='=' read -r key value; do
  grep -qF -- "$key (" <<<"$page" || fail "manual page lacks the key $key"
  grep -qF -- "default $value)" <<<"$page" || fail "manual page lacks the default of $key"
done < <(SDL_VIDEODRIVER=dummy "$u/games/vorn" --print-config)
for section in OPTIONS KEYS FILES ENVIRONMENT "EXIT STATUS" EXAMPLES; do
  grep -q "^$section" <<<"$page" || fail "manual page lacks $section"
done

"$u/games/vorn" --version | grep -q '^vorn ' || fail "the installed game does not run"
echo "install layout ok"
