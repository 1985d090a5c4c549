#!/usr/bin/env bash
# The game on other Debian architectures, checked for real: for each ARCH
# (or "all"), a sysroot from Debian's packages (by name, through apt), a
# cross build of the game and the unit tests with Debian's cross compiler,
# then under qemu-user-static the unit tests, every golden demo, and the
# exported frames of one golden demo, which must be byte for byte the PNGs
# that this machine's own build writes.
#   tools/cross.sh arm64 s390x i386      tools/cross.sh all
# Leaves build/cross/ARCH/vorn and build/cross/ARCH/sysroot, so that
#   qemu-ARCH-static -L build/cross/ARCH/sysroot build/cross/ARCH/vorn --headless --play FILE
# replays any demo. The last lines printed are one table row per ARCH.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh

all_arches=(amd64 arm64 armel armhf i386 mips64el ppc64el s390x)
[ $# -gt 0 ] || { echo "usage: tools/cross.sh ARCH... | all  (ARCH: ${all_arches[*]})" >&2; exit 2; }
arches=("$@")
[ "$1" = all ] && arches=("${all_arches[@]}")

# ARCH -> GNU triplet of the cross compiler, multiarch directory, qemu.
triplet_of() {
  case "$1" in
    amd64) echo x86_64-linux-gnu ;;
    arm64) echo aarch64-linux-gnu ;;
    armel) echo arm-linux-gnueabi ;;
    armhf) echo arm-linux-gnueabihf ;;
    i386) echo i686-linux-gnu ;;
    mips64el) echo mips64el-linux-gnuabi64 ;;
    ppc64el) echo powerpc64le-linux-gnu ;;
    s390x) echo s390x-linux-gnu ;;
    *) echo "tools/cross.sh: unknown architecture $1 (known: ${all_arches[*]})" >&2; exit 2 ;;
  esac
}
multiarch_of() { [ "$1" = i386 ] && echo i386-linux-gnu || triplet_of "$1"; }
qemu_of() {
  case "$1" in
    amd64) echo "" ;;  # this machine's own
    arm64) echo qemu-aarch64-static ;;
    armel | armhf) echo qemu-arm-static ;;
    i386) echo qemu-i386-static ;;
    mips64el) echo qemu-mips64el-static ;;
    ppc64el) echo qemu-ppc64le-static ;;
    s390x) echo qemu-s390x-static ;;
  esac
}
for arch in "${arches[@]}"; do triplet_of "$arch" >/dev/null; done

# The target's libraries: what the game and the tests run on (with every
# library those need), and the development files they are built against.
runtime_packages=(libc6 libstdc++6 libgcc-s1 libatomic1 libsdl1.2debian libx11-6 libpng16-16 zlib1g libmpfr6 libgmp10)
dev_packages=(libsdl1.2-dev libx11-dev libpng-dev zlib1g-dev libgtest-dev libmpfr-dev libgmp-dev
  libxcb1-dev libxau-dev libxdmcp-dev libpthread-stubs0-dev)
common_packages=(x11proto-dev)  # the same files for every architecture

# The host's compilers, emulators and the reference build's tools.
host=(qemu-user-static)
for arch in "${arches[@]}"; do
  [ "$arch" = amd64 ] && continue
  host+=("g++-$(triplet_of "$arch")")
done
ensure_packages "${BUILD_PACKAGES[@]}" "${host[@]}"

# Foreign architectures for apt, and its package lists for them.
dpkg_arch="$(dpkg --print-architecture)"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
added=0
for arch in "${arches[@]}"; do
  [ "$arch" = "$dpkg_arch" ] && continue
  if ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
    $sudo dpkg --add-architecture "$arch"
    added=1
  fi
done
wait_lock=(-o DPkg::Lock::Timeout=900 -o Acquire::Retries=3)
probe="libsdl1.2debian:${arches[-1]}"
if [ $added -eq 1 ] || ! apt-cache show "$probe" >/dev/null 2>&1; then
  for try in 1 2 3 4 5; do
    $sudo apt-get "${wait_lock[@]}" update -qq && break
    echo "cross: apt-get update failed (try $try), waiting for the package lists' lock" >&2
    sleep 30
  done
fi

# The reference: this machine's optimised game, and the frames it exports.
demo_dir="$PWD/tests/demos"
frames_demo="$demo_dir/shoot_enemy.demo"
export_every=60
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF >/dev/null
cmake --build build/release --target vorn fontgen >/dev/null
host_fontgen="$PWD/build/release/fontgen"  # the cross builds run this machine's font tool
mkdir -p build/cross
reference_frames="$(mktemp -d "$PWD/build/cross/reference.XXXXXX")"
trap 'rm -rf "$reference_frames"' EXIT
build/release/vorn --headless --play "$frames_demo" --export-frames "$reference_frames" \
  --export-every "$export_every" >/dev/null

# Makes build/cross/ARCH/sysroot from the target's packages.
make_sysroot() {
  local arch="$1" dir="$2"
  local stamp="$dir/.packages"
  local wanted="${runtime_packages[*]} ${dev_packages[*]} ${common_packages[*]}"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ]; then return 0; fi
  rm -rf "$dir" && mkdir -p "$dir/debs"
  local names
  names="$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances "${runtime_packages[@]/%/:$arch}" 2>/dev/null | grep -v '^[ <]' | sort -u)"
  names="$names ${dev_packages[*]/%/:$arch} ${common_packages[*]}"
  (cd "$dir/debs" && apt-get -o APT::Sandbox::User=root download -qq $names >/dev/null)
  for deb in "$dir"/debs/*.deb; do dpkg -x "$deb" "$dir"; done
  rm -rf "$dir/debs"
  # Links that the packages make absolute would point into this machine.
  find "$dir" -type l -lname '/*' | while read -r link; do
    ln -sfn "$dir$(readlink "$link")" "$link"
  done
  echo "$wanted" >"$stamp"
}

# A CMake toolchain file for ARCH, against its sysroot.
write_toolchain() {
  local arch="$1" dir="$2" sysroot="$3"
  local triplet multiarch qemu
  triplet="$(triplet_of "$arch")"
  multiarch="$(multiarch_of "$arch")"
  qemu="$(qemu_of "$arch")"
  local libs="$sysroot/lib/$multiarch:$sysroot/usr/lib/$multiarch:$sysroot/usr/lib/$multiarch/pulseaudio"
  cat >"$dir/toolchain.cmake" <<EOF
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${triplet%%-*})
set(CMAKE_C_COMPILER $triplet-gcc)
set(CMAKE_CXX_COMPILER $triplet-g++)
set(CMAKE_LIBRARY_ARCHITECTURE $multiarch)
set(CMAKE_FIND_ROOT_PATH $sysroot)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${qemu:+$qemu;-L;$sysroot})
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,-rpath-link,$libs")
# The target's headers after the cross compiler's own C library.
set(CMAKE_C_FLAGS_INIT "-idirafter $sysroot/usr/include/$multiarch -idirafter $sysroot/usr/include")
set(CMAKE_CXX_FLAGS_INIT "-idirafter $sysroot/usr/include/$multiarch -idirafter $sysroot/usr/include")
set(ENV{PKG_CONFIG_SYSROOT_DIR} $sysroot)
set(ENV{PKG_CONFIG_LIBDIR} $sysroot/usr/lib/$multiarch/pkgconfig:$sysroot/usr/share/pkgconfig)
EOF
}

unit_tests=(test_base test_app test_config test_world test_sim test_gfx test_image test_platform test_audio
  test_layers)
rows=()
for arch in "${arches[@]}"; do
  started=$SECONDS
  dir="$PWD/build/cross/$arch"
  sysroot="$dir/sysroot"
  mkdir -p "$dir"
  echo "== $arch: sysroot" >&2
  make_sysroot "$arch" "$sysroot"
  write_toolchain "$arch" "$dir" "$sysroot"
  echo "== $arch: build" >&2
  rm -f "$dir/build/CMakeCache.txt"  # the toolchain file's settings apply afresh
  cmake -S . -B "$dir/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=ON \
    -DCMAKE_TOOLCHAIN_FILE="$dir/toolchain.cmake" -DVORN_HOST_FONTGEN="$host_fontgen" -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST >/dev/null
  if ! cmake --build "$dir/build" --target vorn "${unit_tests[@]}" >"$dir/build.log" 2>&1; then
    grep -v '^\[' "$dir/build.log" | head -n 40 >&2
    echo "cross: FAIL: the build for $arch (log: $dir/build.log)" >&2
    exit 1
  fi
  cp "$dir/build/vorn" "$dir/vorn"
  qemu="$(qemu_of "$arch")"
  run=(${qemu:+$qemu -L "$sysroot"})

  echo "== $arch: unit tests" >&2
  passed=0 total=0
  for t in "${unit_tests[@]}"; do
    log="$dir/$t.log"
    if ! (cd "$dir/build/tests" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
          "${run[@]}" "./$t" --gtest_brief=1 >"$log" 2>&1); then
      tail -n 30 "$log" >&2
      echo "cross: FAIL: $t on $arch (log: $log)" >&2
      exit 1
    fi
    n="$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$log")"
    passed=$((passed + ${n:-0}))
  done

  echo "== $arch: golden demos" >&2
  # The kernels built for ARCH, from the message for a name it does not know.
  isas="$(VORN_ISA=none "${run[@]}" "$dir/vorn" --headless --frames 0 2>&1 | sed -n "s/.*is not one of //p" || true)"
  [ -n "$isas" ] || { echo "cross: FAIL: the game does not start on $arch" >&2; exit 1; }
  demos=0
  for demo in "$demo_dir"/*.demo; do
    for isa in ${isas//,/}; do
      if ! VORN_ISA=$isa timeout 900 "${run[@]}" "$dir/vorn" --headless --play "$demo" >"$dir/replay.log" 2>&1; then
        cat "$dir/replay.log" >&2
        echo "cross: FAIL: $(basename "$demo") does not replay on $arch (VORN_ISA=$isa)" >&2
        exit 1
      fi
    done
    demos=$((demos + 1))
  done

  # A setting that asks for more than the machine can hold (more so with
  # 32-bit sizes) is refused before the game is built, exit status 1.
  printf 'enemy_count=2000000000\n' >"$dir/huge.txt"
  status=0
  "${run[@]}" "$dir/vorn" --headless --frames 1 --config "$dir/huge.txt" >/dev/null 2>"$dir/huge.log" || status=$?
  if [ $status -ne 1 ] || ! grep -q "out of memory" "$dir/huge.log"; then
    cat "$dir/huge.log" >&2
    echo "cross: FAIL: a huge enemy_count on $arch ends with status $status, not a refusal" >&2
    exit 1
  fi

  echo "== $arch: exported frames" >&2
  frames="$dir/frames"
  rm -rf "$frames" && mkdir -p "$frames"
  "${run[@]}" "$dir/vorn" --headless --play "$frames_demo" --export-frames "$frames" \
    --export-every "$export_every" >/dev/null
  if ! diff -r "$reference_frames" "$frames" >&2; then
    echo "cross: FAIL: the frames exported on $arch differ from this machine's" >&2
    exit 1
  fi
  count="$(find "$frames" -name '*.png' | wc -l)"

  macros="$("$(triplet_of "$arch")-gcc" -dM -E - </dev/null)"
  order="little"
  grep -q '__BYTE_ORDER__ __ORDER_BIG_ENDIAN__' <<<"$macros" && order="big"
  word="$((8 * $(sed -n 's/#define __SIZEOF_POINTER__ //p' <<<"$macros")))"
  rows+=("| $arch | $order | $word-bit | ${isas} | $passed passed | $demos replayed, $count frames identical | $((SECONDS - started)) s |")
  echo "== $arch: done in $((SECONDS - started)) s" >&2
done

echo "| Architecture | Byte order | Word | Kernels | Unit tests | Golden demos | Time |"
echo "|---|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
