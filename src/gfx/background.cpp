// The background grid: each grid line is a line of the grid colour with a
// softer line of the half-way colour to its left (columns) or below it
// (rows), all drawn anti-aliased, so every line's two end pixels come out at
// half intensity. The column line left of x = 0 lies at x = -1; the
// anti-aliased line clips by linear pixel index, so its plots land in the
// last column one row higher and give the tiled picture its soft right edge.
#include "gfx/background.h"

#include <algorithm>
#include <cstring>
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
// The picture's distinct rows, each twice over (2 w pixels), so that a row
// shifted by any amount is one run of w pixels; row_pattern[r] names the
// one row r holds. The grid has few distinct rows, so painting from these
// reads a few kilobytes that stay in the cache instead of a second screen's
// worth of memory, one copy per row.
std::vector<uint32_t> doubled_rows;
std::vector<int32_t> row_pattern;

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

void find_row_patterns(const typspr* img) {
  const size_t w = static_cast<size_t>(img->width);
  row_pattern.assign(static_cast<size_t>(img->height), 0);
  doubled_rows.clear();
  std::vector<int32_t> first_row;  // of each pattern, the first picture row that holds it
  for (int32_t r = 0; r < img->height; ++r) {
    const uint32_t* row = img->pixels + r * w;
    size_t d = 0;
    while (d < first_row.size() && !std::equal(row, row + w, img->pixels + first_row[d] * w)) ++d;
    if (d == first_row.size()) {
      first_row.push_back(r);
      doubled_rows.insert(doubled_rows.end(), row, row + w);
      doubled_rows.insert(doubled_rows.end(), row, row + w);
    }
    row_pattern[r] = static_cast<int32_t>(d);
  }
}

}  // namespace

void paint_background(typspr* target, int32_t dx, int32_t dy, row_window rows) {
  if (!background || !target || !target->pixels) return;
  if (target->width != background->width || target->height != background->height) return;
  const int64_t w = target->width;
  const int64_t h = target->height;
  if (w <= 0 || h <= 0) return;
  const int64_t top = std::max<int64_t>(rows.top, 0);
  const int64_t bottom = std::min<int64_t>(rows.bottom, h);
  if (top >= bottom) return;
  const int64_t gx = wrapped_start(dx, w);
  // Source row gy + r, wrapped, counted along.
  int64_t from = (wrapped_start(dy, h) + top) % h;
  for (int64_t r = top; r < bottom; ++r, from = from + 1 == h ? 0 : from + 1) {
    const uint32_t* pattern = doubled_rows.data() + row_pattern[from] * 2 * w;
    std::memcpy(target->pixels + r * w, pattern + gx, static_cast<size_t>(w) * sizeof(uint32_t));
  }
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
  find_row_patterns(background);
}

void release_background() {
  background = nullptr;
  background_record.reset();
  background_pixels = std::vector<uint32_t>();
  doubled_rows = std::vector<uint32_t>();
  row_pattern = std::vector<int32_t>();
}

}  // namespace vorn
