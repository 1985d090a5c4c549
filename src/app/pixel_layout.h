// Where a video surface keeps each channel of a 32-bit pixel, and the copy
// that turns the game's pixels (0xAARRGGBB) into that layout. The desktop's
// surface has the game's own layout; the browser's keeps red in the lowest
// byte, as a canvas does.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vorn {

struct pixel_layout {
  int32_t red_shift = 16;
  int32_t green_shift = 8;
  int32_t blue_shift = 0;
  uint32_t alpha_mask = 0;  // set in every converted pixel: the screen is opaque
  bool native = true;       // the game's own layout: no conversion at all
};

// The layout of a surface with these channel masks (8 bits each).
pixel_layout layout_of_masks(uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha);

// Writes n game pixels from `from` into `to` in `layout`; from and to may be
// the same array.
void convert_pixels(const uint32_t* from, uint32_t* to, size_t n, const pixel_layout& layout);

}  // namespace vorn
