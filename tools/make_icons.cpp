// Draws the game's icon: the station's lattice, built by the game's own
// builder, in anti-aliased lines over a dark rounded square, and writes it
// as PNG at each size asked for.
//   make_icons DIR SIZE...     writes DIR/SIZE.png, e.g. make_icons out 32 64
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/color.h"
#include "base/rounding.h"
#include "config/tunables.h"
#include "gfx/draw.h"
#include "image/image.h"
#include "image/png_write.h"
#include "world/station.h"
#include "world/world.h"

namespace {

using namespace vorn;

constexpr color_t space = make_color(12, 16, 40, 255);
constexpr color_t lattice = make_color(150, 210, 255, 255);
constexpr color_t core = make_color(255, 170, 60, 255);

// The square with corners cut round, radius r: transparent outside.
void rounded_square(typspr* img, int32_t r) {
  const int32_t n = img->width;
  for (int32_t y = 0; y < n; ++y) {
    for (int32_t x = 0; x < n; ++x) {
      const int32_t dx = std::max({r - x, x - (n - 1 - r), 0});
      const int32_t dy = std::max({r - y, y - (n - 1 - r), 0});
      if (dx * dx + dy * dy <= r * r) put_pixel(img, x, y, space);
    }
  }
}

// The station's links, scaled so that the lattice fills the square but for
// a margin; links of the innermost nodes (the core) in their own colour.
void draw_station(typspr* img) {
  double lo_x = nodes[0].pos.x, hi_x = lo_x, lo_y = nodes[0].pos.y, hi_y = lo_y;
  for (const noderec& n : nodes) {
    lo_x = std::min(lo_x, n.pos.x);
    hi_x = std::max(hi_x, n.pos.x);
    lo_y = std::min(lo_y, n.pos.y);
    hi_y = std::max(hi_y, n.pos.y);
  }
  const double side = img->width;
  const double scale = side * 0.8 / std::max(hi_x - lo_x, hi_y - lo_y);
  const double cx = (lo_x + hi_x) / 2, cy = (lo_y + hi_y) / 2;
  const double core_reach = std::max(hi_x - lo_x, hi_y - lo_y) * 0.12;
  auto px = [&](double x) { return round_int(side / 2 + (x - cx) * scale); };
  auto py = [&](double y) { return round_int(side / 2 + (y - cy) * scale); };
  for (const linkrec& l : links) {
    const vec2 a = nodes[l.a].pos, b = nodes[l.b].pos;
    const bool inner = std::abs(a.x - cx) + std::abs(a.y - cy) < core_reach;
    aa_line(img, px(a.x), py(a.y), px(b.x), py(b.y), inner ? core : lattice);
  }
}

bool write_icon(const std::string& dir, int32_t size) {
  std::vector<uint32_t> pixels(static_cast<size_t>(size) * size, 0);
  typspr img;
  img.pixels = pixels.data();
  img.width = img.height = size;
  img.half_width = img.half_height = size / 2;
  rounded_square(&img, size / 6);
  draw_station(&img);
  return save_png(dir + "/" + std::to_string(size) + ".png", pixels.data(), size, size, true);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: make_icons DIR SIZE...\n", stderr);
    return 2;
  }
  reset_tunables();
  clear_world();
  make_station(grey, 0.0, 0.0);
  for (int i = 2; i < argc; ++i) {
    int32_t size = 0;
    const char* end = argv[i] + std::strlen(argv[i]);
    const auto res = std::from_chars(argv[i], end, size);
    if (res.ec != std::errc() || res.ptr != end || size < 16 || size > 1024) {
      std::fprintf(stderr, "make_icons: '%s' is not a size from 16 to 1024\n", argv[i]);
      return 2;
    }
    if (!write_icon(argv[1], size)) return 1;
  }
  return 0;
}
