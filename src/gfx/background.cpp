// The background grid: each grid line is a line of the grid colour with a
// softer line of the half-way colour to its left (columns) or below it
// (rows), all drawn anti-aliased, so every line's two end pixels come out at
// half intensity. The column line left of x = 0 lies at x = -1; the
// anti-aliased line clips by linear pixel index, so its plots land in the
// last column one row higher and give the tiled picture its soft right edge.
#include "gfx/background.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "base/color.h"
#include "gfx/draw.h"

namespace vorn {

typspr* background = nullptr;

namespace {

constexpr int32_t column_spacing = 16;
constexpr int32_t row_spacing = 15;

std::unique_ptr<typspr> background_record;
std::vector<uint32_t> background_pixels;
// Row r of the picture holds the same pixels as row first_alike[r], the
// first row that holds them. The grid has few distinct rows, so painting
// from those alone reads a few kilobytes that stay in the cache instead of
// a second screen's worth of memory.
std::vector<int32_t> first_alike;

void draw_grid(typspr* img) {
  const int32_t w = img->width;
  const int32_t h = img->height;
  const color_t paper = white;
  const color_t grid = make_color(220, 220, 255, 255);
  const color_t soft = blend(grid, paper, 0.5f);
  fill_rect(img, 0, 0, w - 1, h - 1, paper);
  for (int32_t i = 0; i < w / column_spacing; ++i) {
    aa_line(img, column_spacing * i, 0, column_spacing * i, h - 1, grid);
  }
  for (int32_t i = 0; i < w / column_spacing; ++i) {
    aa_line(img, column_spacing * i - 1, 0, column_spacing * i - 1, h - 1, soft);
  }
  for (int32_t i = 0; i < h / row_spacing; ++i) {
    aa_line(img, 0, row_spacing * i + 1, w - 1, row_spacing * i + 1, soft);
  }
  for (int32_t i = 0; i < h / row_spacing; ++i) {
    aa_line(img, 0, row_spacing * i, w - 1, row_spacing * i, grid);
  }
}

void find_alike_rows(const typspr* img) {
  const size_t w = static_cast<size_t>(img->width);
  first_alike.assign(static_cast<size_t>(img->height), 0);
  std::vector<int32_t> distinct;
  for (int32_t r = 0; r < img->height; ++r) {
    const uint32_t* row = img->pixels + r * w;
    first_alike[r] = r;
    for (const int32_t d : distinct) {
      if (std::equal(row, row + w, img->pixels + d * w)) {
        first_alike[r] = d;
        break;
      }
    }
    if (first_alike[r] == r) distinct.push_back(r);
  }
}

}  // namespace

void paint_background(typspr* target, int32_t dx, int32_t dy) {
  if (background) blit_wrapped(target, background, dx, dy, first_alike.data());
}

void ensure_background(int32_t w, int32_t h) {
  if (w < 0) w = 0;
  if (h < 0) h = 0;
  if (background && background->width == w && background->height == h) return;
  release_background();
  background_pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
  uint32_t* pixels = background_pixels.empty() ? nullptr : background_pixels.data();
  background_record.reset(new_image(pixels, w, h));
  background = background_record.get();
  draw_grid(background);
  find_alike_rows(background);
}

void release_background() {
  background = nullptr;
  background_record.reset();
  background_pixels = std::vector<uint32_t>();
  first_alike = std::vector<int32_t>();
}

}  // namespace vorn
