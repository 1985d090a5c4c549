#!/usr/bin/env bash
# Installs what is missing, builds an optimised game and starts it.
# Arguments are passed on to the game.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF >/dev/null
cmake --build build/release --target vorn
exec ./build/release/vorn "$@"
