// The window scale that fits the desktop, the fullscreen picture's place,
// pointer positions mapped back and the block copy onto the surface.
#include "app/scaling.h"

#include <algorithm>

namespace vorn {

namespace {

// One screen row widened N times; N fixed at compile time so that the
// compiler unrolls each pixel's block.
template <int32_t N>
void widen_row(const uint32_t* from, int32_t w, uint32_t* to) {
  for (int32_t x = 0; x < w; ++x) {
    const uint32_t v = from[x];
    for (int32_t k = 0; k < N; ++k) to[x * N + k] = v;
  }
}

void widen(const uint32_t* from, int32_t w, int32_t n, uint32_t* to) {
  switch (n) {
    case 1: std::copy_n(from, w, to); break;
    case 2: widen_row<2>(from, w, to); break;
    case 3: widen_row<3>(from, w, to); break;
    case 4: widen_row<4>(from, w, to); break;
    default:
      for (int32_t x = 0; x < w; ++x) std::fill_n(to + int64_t{x} * n, n, from[x]);
      break;
  }
}

}  // namespace

int32_t fitting_scale(int32_t w, int32_t h, int32_t wanted, bool have_area, int32_t area_w, int32_t area_h) {
  if (!have_area) return wanted;
  const int64_t max_w = area_w - 50;
  const int64_t max_h = area_h - 50;
  for (int32_t n = wanted; n >= 2; --n) {
    if (int64_t{w} * n <= max_w && int64_t{h} * n <= max_h) return n;
  }
  return 1;
}

picture_place fullscreen_place(int32_t w, int32_t h, int32_t desk_w, int32_t desk_h) {
  if (w <= 0 || h <= 0) return {0, 0, 0};
  const int32_t scale = std::min(desk_w / w, desk_h / h);
  if (scale < 1) return {0, 0, 0};
  // In 64 bits: the scaled picture fits the desktop, so the halves do too.
  return {scale, static_cast<int32_t>((desk_w - int64_t{w} * scale) / 2),
          static_cast<int32_t>((desk_h - int64_t{h} * scale) / 2)};
}

int32_t picture_coord(int32_t v, int32_t origin, int32_t scale, int32_t size) {
  // Clamped to the picture's own pixels first, so that one division gives a
  // coordinate on the screen.
  const int64_t offset = std::clamp<int64_t>(int64_t{v} - origin, 0, int64_t{size} * scale - 1);
  return static_cast<int32_t>(offset / scale);
}

void scale_pixels(const uint32_t* from, int32_t w, int32_t h, int32_t n, uint32_t* to, int64_t to_pitch) {
  for (int32_t y = 0; y < h; ++y) {
    uint32_t* first = to + int64_t{y} * n * to_pitch;
    widen(from + int64_t{y} * w, w, n, first);
    // The other rows of the block repeat the first.
    for (int32_t r = 1; r < n; ++r) std::copy_n(first, int64_t{w} * n, first + r * to_pitch);
  }
}

}  // namespace vorn
