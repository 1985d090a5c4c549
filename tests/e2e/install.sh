#!/usr/bin/env bash
# `cmake --install` of the build that holds GAME, into a temporary DESTDIR:
# every file of the layout is there, and each passes its validator (the
# desktop entry, the AppStream data, the manual page, the icons' sizes).
set -u
game="$1"
build="$(dirname "$game")"
fail() { echo "FAIL: $*"; exit 1; }
dest="$(mktemp -d)"
trap 'rm -rf "$dest"' EXIT
DESTDIR="$dest" cmake --install "$build" --prefix /opt/vorn >"$dest.log" 2>&1 || fail "cmake --install: $(cat "$dest.log")"
rm -f "$dest.log"
root="$dest/opt/vorn"
share="$root/share"
for f in bin/vorn share/applications/vorn.desktop share/metainfo/io.vorn.Vorn.metainfo.xml \
  share/man/man6/vorn.6.gz share/doc/vorn/README.md share/doc/vorn/copyright share/doc/vorn/changelog.gz; do
  [ -f "$root/$f" ] || fail "the install has no $f"
done
[ -x "$root/bin/vorn" ] || fail "the installed game is not executable"
"$root/bin/vorn" --version >/dev/null || fail "the installed game does not run"
for size in 32 64 128 256; do
  icon="$share/icons/hicolor/${size}x$size/apps/vorn.png"
  [ -f "$icon" ] || fail "no $size px icon"
  [ "$(identify -format '%wx%h' "$icon")" = "${size}x$size" ] || fail "the $size px icon is $(identify -format '%wx%h' "$icon")"
done
desktop-file-validate "$share/applications/vorn.desktop" || fail "desktop-file-validate"
grep -q '^Categories=Game;ArcadeGame;$' "$share/applications/vorn.desktop" || fail "the desktop entry's categories"
appstreamcli validate --no-net "$share/metainfo/io.vorn.Vorn.metainfo.xml" >"$dest/as.log" 2>&1 ||
  fail "appstreamcli: $(cat "$dest/as.log")"
warnings="$(MANWIDTH=80 man --warnings -l "$share/man/man6/vorn.6.gz" 2>&1 >"$dest/man.txt")"
[ -z "$warnings" ] || fail "man warns: $warnings"
for section in OPTIONS KEYS FILES ENVIRONMENT "EXIT STATUS" EXAMPLES "CONFIGURATION KEYS"; do
  grep -q "^$section" "$dest/man.txt" || fail "the manual page has no $section section"
done
# Every option of --help and every configuration key is in the manual page.
for option in $("$root/bin/vorn" --help | grep -o -- '^  --[a-z-]*'); do
  grep -q -- "$option" "$dest/man.txt" || fail "the manual page does not describe $option"
done
for key in $("$root/bin/vorn" --print-config | cut -d= -f1); do
  grep -q "^       $key " "$dest/man.txt" || fail "the manual page does not list the key $key"
done
echo "install: the game, desktop entry, AppStream data, manual page, icons and documents, each valid: ok"
