#!/usr/bin/env bash
# Installs what is missing, builds the whole project with warnings as errors
# under AddressSanitizer and UndefinedBehaviorSanitizer, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DVORN_WERROR=ON -DVORN_SANITIZE=ON -DVORN_TESTS=ON >/dev/null
cmake --build build/test
# A locale with a decimal comma, for the tests that check that numbers are
# read and written with '.' whatever the locale. Built into the build tree,
# so no root is needed; the tests find it through VORN_LOCALE_DIR.
if [ ! -d build/test/locale/de_DE.UTF-8 ] && command -v localedef >/dev/null 2>&1; then
  mkdir -p build/test/locale
  localedef -i de_DE -f UTF-8 build/test/locale/de_DE.UTF-8 2>/dev/null || true
fi
export VORN_LOCALE_DIR="$PWD/build/test/locale"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/test --output-on-failure -j "$(nproc)"

# Determinism across builds: the golden demos must also replay, checksum for
# checksum, with the optimised game.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF >/dev/null
cmake --build build/release --target vorn
bash tests/e2e/golden_demos.sh "$PWD/build/release/vorn"
