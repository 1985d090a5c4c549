#!/usr/bin/env bash
# Installs what is missing, builds the whole project with warnings as errors
# under AddressSanitizer and UndefinedBehaviorSanitizer, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WEB_PACKAGES[@]}" "${WEB_TEST_PACKAGES[@]}"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DVORN_WERROR=ON -DVORN_SANITIZE=ON -DVORN_TESTS=ON >/dev/null
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j "$(nproc)"

# Determinism across builds: the golden demos must also replay, checksum for
# checksum, with the optimised game.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF >/dev/null
cmake --build build/release --target vorn
bash tests/e2e/golden_demos.sh "$PWD/build/release/vorn"

# Determinism across machines: the format-2 golden demos replay with glibc's
# generic code paths forced (as on a processor without fused multiply-add),
# and in a clang build of the game.
GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2,-FMA,-AVX512F bash tests/e2e/golden_demos.sh "$PWD/build/release/vorn" format2
CC=clang CXX=clang++ cmake -S . -B build/clang -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF >/dev/null
cmake --build build/clang --target vorn
bash tests/e2e/golden_demos.sh "$PWD/build/clang/vorn"
# A demo recorded live in a window by the optimised g++ build replays in the
# clang build.
bash tests/e2e/demo_live.sh "$PWD/build/release/vorn" "$PWD/build/clang/vorn"

# The real-window tests once more, with the optimised game, on the SDL 1.2
# that newer distributions ship: sdl12-compat, running on SDL2.
bash tools/sdl12_compat.sh "$PWD/build/release/vorn"

# Determinism across machines, for real: the unit tests, every golden demo and
# the exported frames on a 64-bit ARM, a big-endian and a 32-bit machine
# under qemu (tools/cross.sh all covers every Debian release architecture).
tools/cross.sh arm64 s390x i386

# The browser build in headless chromium: every golden demo replays in the
# page, a game played there with mouse and keyboard replays natively, and a
# frame of the page's screen equals the native export of that frame.
tools/web.sh
bash tests/web/run.sh "$PWD/build/release/vorn"
