// Converting the game's pixels to a surface's channel layout.
#include "app/pixel_layout.h"

namespace vorn {

namespace {

int32_t lowest_bit(uint32_t mask) {
  int32_t n = 0;
  while (mask != 0 && (mask & 1u) == 0) {
    mask >>= 1;
    ++n;
  }
  return n;
}

}  // namespace

pixel_layout layout_of_masks(uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha) {
  pixel_layout l;
  l.red_shift = lowest_bit(red);
  l.green_shift = lowest_bit(green);
  l.blue_shift = lowest_bit(blue);
  l.alpha_mask = alpha;
  l.native = red == 0x00FF0000u && green == 0x0000FF00u && blue == 0x000000FFu;
  return l;
}

void convert_pixels(const uint32_t* from, uint32_t* to, size_t n, const pixel_layout& layout) {
  // Red and blue trade places (a canvas's layout): the common case, with
  // fixed shifts, several times faster than the general loop.
  if (layout.red_shift == 0 && layout.green_shift == 8 && layout.blue_shift == 16) {
    const uint32_t alpha = layout.alpha_mask;
    for (size_t i = 0; i < n; ++i) {
      const uint32_t p = from[i];
      to[i] = (p & 0x0000FF00u) | (p >> 16 & 0xFFu) | (p & 0xFFu) << 16 | alpha;
    }
    return;
  }
  for (size_t i = 0; i < n; ++i) {
    const uint32_t p = from[i];
    to[i] = ((p >> 16 & 0xFFu) << layout.red_shift) | ((p >> 8 & 0xFFu) << layout.green_shift) |
            ((p & 0xFFu) << layout.blue_shift) | layout.alpha_mask;
  }
}

}  // namespace vorn
