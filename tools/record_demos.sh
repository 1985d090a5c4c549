#!/usr/bin/env bash
# Re-records the golden demos in tests/demos/ from the scripted games of
# tools/scenarios.cpp. Run it, in the same commit, whenever the game's
# behaviour changes on purpose, and say why in the commit message.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF >/dev/null
cmake --build build/release --target record_demos vorn
mkdir -p tests/demos
./build/release/record_demos tests/demos
for demo in tests/demos/*.demo; do
  ./build/release/vorn --headless --play "$demo" --summary
done
