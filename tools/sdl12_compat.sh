#!/usr/bin/env bash
# Unpacks Debian's libsdl1.2-compat (SDL 1.2 on top of SDL2, what newer
# distributions ship as their SDL 1.2) into DIR, since it cannot be installed
# beside the classic libsdl1.2debian, and prints the folder that holds its
# libSDL-1.2.so.0, to be put first on LD_LIBRARY_PATH. SDL2 itself
# (libsdl2-2.0-0) is installed as usual. Usage: tools/sdl12_compat.sh DIR
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
dir=$(realpath -m "$1")
ensure_packages libsdl2-2.0-0
lib="$dir/root/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)/sdl12-compat"
if [ ! -e "$lib/libSDL-1.2.so.0" ]; then
  mkdir -p "$dir"
  rm -rf "$dir/root" "$dir"/libsdl1.2-compat_*.deb
  # apt-get download needs the package lists; fetch them once if it fails.
  if ! (cd "$dir" && apt-get download libsdl1.2-compat >/dev/null 2>&1); then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get -o DPkg::Lock::Timeout=900 update -qq >/dev/null
    (cd "$dir" && apt-get download libsdl1.2-compat >/dev/null)
  fi
  dpkg -x "$dir"/libsdl1.2-compat_*.deb "$dir/root"
fi
[ -e "$lib/libSDL-1.2.so.0" ] || { echo "libsdl1.2-compat holds no libSDL-1.2.so.0 in $lib" >&2; exit 1; }
echo "$lib"
