#!/usr/bin/env bash
# The long soak: many generated configurations with extreme settings and
# random input, played through the game's own frame procedure.
#
#   tools/soak.sh [--release] [CONFIGS] [FRAMES] [SEED]
#
# By default it runs in the sanitizer build of ./test.sh (build/test), where
# undefined behaviour and bad memory accesses stop it with a report; with
# --release, in an optimised build (build/soak), which covers more
# configurations in the same time. A failure prints the configuration;
# `vorn_soak --seed SEED --only K` replays configuration K alone.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}"
release=0
if [ "${1:-}" = "--release" ]; then
  release=1
  shift
fi
configs="${1:-2000}"
frames="${2:-300}"
seed="${3:-1}"
if [ "$release" -eq 1 ]; then
  build=build/soak
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF >/dev/null
else
  ensure_packages "${TEST_PACKAGES[@]}"
  build=build/test
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DVORN_WERROR=ON -DVORN_SANITIZE=ON -DVORN_TESTS=ON >/dev/null
fi
cmake --build "$build" --target vorn_soak
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec "$build/vorn_soak" --configs "$configs" --frames "$frames" --seed "$seed"
