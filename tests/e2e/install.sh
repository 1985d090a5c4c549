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
# One version: the game's, the manual page's, the AppStream data's and the
# changelog's.
version=$("$root/bin/vorn" --version)
[[ "$version" =~ ^vorn\ ([0-9][0-9.]*)\ \(Vorn\ 110520\)$ ]] || fail "--version says '$version'"
v="${BASH_REMATCH[1]}"
grep -q "^Vorn $v  " "$dest/man.txt" || fail "the manual page is not of version $v: $(tail -n 1 "$dest/man.txt")"
grep -q "<release version=\"$v\"" "$share/metainfo/io.vorn.Vorn.metainfo.xml" || fail "the AppStream data are not of version $v"
zcat "$root/share/doc/vorn/changelog.gz" | head -n 1 | grep -q "^vorn ($v) " || fail "the changelog does not begin with version $v"
# The manual page points at the README where this prefix put it.
grep -q "README in /opt/vorn/share/doc/vorn/" "$dest/man.txt" || fail "the manual page's SEE ALSO: $(grep -A1 'SEE ALSO' "$dest/man.txt")"
echo "install: the game, desktop entry, AppStream data, manual page, icons and documents, each valid, one version: ok"
