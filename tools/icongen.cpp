// Draws the game's icon, the player's diamond ship as the ship builder makes
// it, with the game's own line and rectangle drawing into an image record,
// and writes it as DIR/vorn-N.png (RGBA) for N = 32, 64, 128 and 256.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "gfx/color.h"
#include "gfx/draw.h"
#include "gfx/image.h"
#include "image/png_write.h"
#include "world/ships.h"
#include "world/world.h"

namespace {

using vorn::color_t;

constexpr color_t space = 0xFF080818;   // the disc behind the ship
constexpr color_t rim = 0xFF404060;

// The ship's corners on an icon of the given size: the diamond built at the
// origin, 40 units tall, scaled to three quarters of the icon and centred.
struct corners {
  int32_t x[4], y[4];
};

corners ship_corners(int32_t size) {
  corners c{};
  for (int32_t i = 0; i < 4; ++i) {
    const vorn::vec2 p = vorn::nodes[size_t(i)].pos;
    // Integer arithmetic on the builder's whole-unit offsets (at most 20).
    const int32_t ox = int32_t(p.x), oy = int32_t(p.y);
    c.x[i] = size / 2 + ox * size * 3 / 160;
    c.y[i] = size / 2 + oy * size * 3 / 160;
  }
  return c;
}

// A filled disc of rows, each one fill_rect, and its rim.
void disc(vorn::typspr* img, int32_t size) {
  const int64_t r = size / 2 - 1;
  const int64_t c2 = int64_t(size) - 1;  // twice the centre
  for (int32_t y = 0; y < size; ++y) {
    const int64_t dy = 2 * y - c2;
    int32_t half = -1;
    while (int64_t(half + 1) * (half + 1) * 4 + dy * dy <= 4 * r * r) ++half;
    if (half >= 0) vorn::fill_rect(img, size / 2 - half - 1, y, size / 2 + half, y, space);
  }
  for (int32_t y = 0; y < size; ++y) {
    for (int32_t x = 0; x < size; ++x) {
      const color_t here = img->pixels[x + y * size];
      if (here == 0) continue;
      const bool edge = x == 0 || y == 0 || x == size - 1 || y == size - 1 ||
                        img->pixels[x - 1 + y * size] == 0 || img->pixels[x + 1 + y * size] == 0 ||
                        img->pixels[x + (y - 1) * size] == 0 || img->pixels[x + (y + 1) * size] == 0;
      if (edge) img->pixels[x + y * size] = rim;
    }
  }
}

// Each of the ship's links as lines side by side (shifted across the
// line's run; the outer two anti-aliased), the sides brighter and thicker than the two
// diagonals, then the red nose.
void ship(vorn::typspr* img, int32_t size) {
  const corners c = ship_corners(size);
  for (int32_t l = 0; l < 6; ++l) {
    const vorn::linkrec& link = vorn::links[size_t(l)];
    const bool side = l < 4;
    const color_t colour = side ? 0xFFE0E0E8 : link.color;
    const int32_t thick = side ? size / 64 : size / 128;
    const int32_t ax = c.x[link.a], ay = c.y[link.a], bx = c.x[link.b], by = c.y[link.b];
    const bool steep = (bx - ax) * (bx - ax) < (by - ay) * (by - ay);
    for (int32_t d = -thick; d <= thick; ++d) {
      const int32_t sx = steep ? d : 0, sy = steep ? 0 : d;
      if (d == -thick || d == thick) {
        vorn::aa_line(img, ax + sx, ay + sy, bx + sx, by + sy, colour);
      } else {
        vorn::line(img, ax + sx, ay + sy, bx + sx, by + sy, colour);
      }
    }
  }
  const int32_t nose = size / 64 + 1;
  vorn::fill_rect(img, c.x[2] - nose, c.y[2] - nose, c.x[2] + nose, c.y[2] + nose, vorn::red);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: icongen DIR\n", stderr);
    return 2;
  }
  vorn::make_player(vorn::grey, 0, 0);
  for (const int32_t size : {32, 64, 128, 256}) {
    std::vector<uint32_t> pixels(size_t(size) * size, 0);
    vorn::typspr img;
    img.pixels = pixels.data();
    img.width = img.height = size;
    img.half_width = img.half_height = size / 2;
    disc(&img, size);
    ship(&img, size);
    const std::string name = std::string(argv[1]) + "/vorn-" + std::to_string(size) + ".png";
    if (!vorn::save_png(name, pixels.data(), size, size, true)) return 1;
  }
  return 0;
}
