#!/usr/bin/env bash
# Makes docs/play.gif, the animation at the top of the README: the golden demo
# tests/demos/shoot_enemy.demo (20 s of play at 60 frames per second)
# replayed headless, every sixth frame exported as PNG, and the frames joined
# by ImageMagick at 10 frames per second (at most 3 MB).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" imagemagick
demo=${1:-tests/demos/shoot_enemy.demo}
out=${2:-docs/play.gif}
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF >/dev/null
cmake --build build/release --target vorn
frames=$(mktemp -d)
trap 'rm -rf "$frames"' EXIT
./build/release/vorn --headless --play "$demo" --export-frames "$frames" --export-every 6
# 10/100 s a frame is 10 frames per second, the demo's own pace for every sixth
# frame; 64 colours and frame differencing keep the file small.
# Each frame is halved on its own first: ImageMagick's resource limits do not
# hold 400 full-size frames at once.
mogrify -resize 50% -format gif "$frames"/frame-*.png
convert -delay 10 -loop 0 "$frames"/frame-*.gif -colors 64 -layers OptimizePlus "$out"
size=$(stat -c %s "$out")
echo "$out: $(ls "$frames"/*.gif | wc -l) frames, $size bytes"
[ "$size" -le $((3 * 1024 * 1024)) ] || { echo "$out is larger than 3 MB" >&2; exit 1; }
