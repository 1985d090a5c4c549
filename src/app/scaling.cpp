// The window scale that fits the desktop and the block copy into the window.
#include "app/scaling.h"

#include <algorithm>

namespace vorn {

int32_t fitting_scale(int32_t w, int32_t h, int32_t wanted, bool have_area, int32_t area_w, int32_t area_h) {
  if (!have_area) return wanted;
  const int64_t max_w = area_w - 50;
  const int64_t max_h = area_h - 50;
  for (int32_t n = wanted; n >= 2; --n) {
    if (int64_t{w} * n <= max_w && int64_t{h} * n <= max_h) return n;
  }
  return 1;
}

void scale_pixels(const uint32_t* from, int32_t w, int32_t h, int32_t n, uint32_t* to, int64_t to_pitch) {
  for (int32_t y = 0; y < h; ++y) {
    const uint32_t* src = from + int64_t{y} * w;
    uint32_t* first = to + int64_t{y} * n * to_pitch;
    uint32_t* out = first;
    for (int32_t x = 0; x < w; ++x) {
      out = std::fill_n(out, n, src[x]);
    }
    // The other rows of the block repeat the first.
    for (int32_t r = 1; r < n; ++r) std::copy_n(first, int64_t{w} * n, first + r * to_pitch);
  }
}

}  // namespace vorn
