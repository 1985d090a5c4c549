#!/usr/bin/env bash
# Builds the game for the browser into build/web/: index.html, vorn.js and
# vorn.wasm, nothing else and nothing from elsewhere at run time. Uses
# Debian's emscripten; zlib for wasm is built from Debian's zlib source
# package, fetched through apt from the Debian archive this machine is
# configured with (into build/web-deps/, never committed).
#   tools/web.sh            build (what is built already is kept)
#   then serve build/web/ with any static server and open index.html
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${WEB_PACKAGES[@]}"

# Debian's emscripten runs its tools with the machine's node, which does not
# look in Debian's own folder of node modules (where its acorn is).
export NODE_PATH=/usr/share/nodejs

root=$PWD
deps=$root/build/web-deps
out=$root/build/web
max_bytes=$((2 * 1024 * 1024))

# The main suite of the Debian archive this machine installs from, as
# "URI SUITE" (apt's own view, whatever the format of its source lists).
debian_main_suite() {
  apt-cache policy | awk '
    / https?:\/\/[^ ]+ [^ ]+\/main [^ ]+ Packages$/ { uri = $2; split($3, sc, "/"); suite = sc[1]; next }
    /release .*o=Debian,/ && uri != "" { if (suite !~ /-/) { print uri, suite; exit } uri = "" }'
}

# zlib's source from Debian's zlib source package, through a private apt
# configuration under build/web-deps/apt: the machine's own lists are left
# alone, and no root is needed.
fetch_zlib_source() {
  local apt=$deps/apt entry
  entry=$(debian_main_suite)
  if [ -z "$entry" ]; then
    echo "web.sh: apt names no Debian archive to fetch zlib's source from" >&2
    exit 1
  fi
  rm -rf "$apt"
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/parts" "$apt/source"
  echo "deb-src $entry main" >"$apt/sources.list"
  local opts=(-q -o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/parts"
    -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o Debug::NoLocking=1
    -o APT::Sandbox::User=root)
  apt-get "${opts[@]}" update >/dev/null
  (cd "$apt/source" && apt-get "${opts[@]}" source --download-only zlib >/dev/null)
  local tarball
  tarball=$(ls "$apt"/source/zlib_*.orig.tar.* | head -1)
  rm -rf "$deps/zlib-src"
  mkdir -p "$deps/zlib-src"
  tar -xf "$tarball" -C "$deps/zlib-src" --strip-components=1
}

# zlib as a wasm static library: build/web-deps/zlib/{include,lib}.
build_zlib() {
  local prefix=$deps/zlib
  [ -f "$prefix/lib/libz.a" ] && return 0
  echo "web.sh: building zlib for wasm from Debian's source package" >&2
  fetch_zlib_source
  local src=$deps/zlib-src objs=()
  mkdir -p "$prefix/include" "$prefix/lib" "$deps/zlib-obj"
  for c in adler32 compress crc32 deflate infback inffast inflate inftrees trees uncompr zutil; do
    emcc -O2 -c "$src/$c.c" -o "$deps/zlib-obj/$c.o"
    objs+=("$deps/zlib-obj/$c.o")
  done
  emar rcs "$prefix/lib/libz.a" "${objs[@]}"
  cp "$src/zlib.h" "$src/zconf.h" "$prefix/include/"
}

# The font tool runs on this machine while the browser build is made.
build_host_fontgen() {
  cmake -S . -B build/web-host -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF >/dev/null
  cmake --build build/web-host --target fontgen >/dev/null
}

build_zlib
build_host_fontgen
emcmake cmake -S . -B build/web-build -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DVORN_HOST_FONTGEN="$root/build/web-host/fontgen" \
  -DZLIB_INCLUDE_DIR="$deps/zlib/include" -DZLIB_LIBRARY="$deps/zlib/lib/libz.a" >/dev/null
cmake --build build/web-build --target vorn

rm -rf "$out"
mkdir -p "$out"
cp web/index.html "$out/index.html"
cp build/web-build/vorn.js build/web-build/vorn.wasm "$out/"
total=$(cat "$out"/index.html "$out"/vorn.js "$out"/vorn.wasm | wc -c)
echo "web.sh: $out: index.html, vorn.js, vorn.wasm ($total bytes)"
if [ "$total" -gt "$max_bytes" ]; then
  echo "web.sh: the page's files take $total bytes, more than $max_bytes" >&2
  exit 1
fi
