// The one colour format of the game, 0xAARRGGBB as a 32-bit value (its
// bytes in memory follow the machine's byte order; files and the screen
// take the channels by value), the palette constants and the two colour
// operations.
#pragma once

#include <cstdint>

namespace vorn {

using color_t = uint32_t;

constexpr color_t white = 0xFFFFFFFF;
constexpr color_t black = 0xFF000000;
constexpr color_t red = 0xFFFF0000;
constexpr color_t green = 0xFF00FF00;
constexpr color_t blue = 0xFF0000FF;
constexpr color_t grey = 0xFF808080;
constexpr color_t yellow = 0xFFFFFF00;
constexpr color_t orange = 0xFFFF8000;

constexpr color_t make_color(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  return (color_t(a) << 24) | (color_t(r) << 16) | (color_t(g) << 8) | color_t(b);
}

// c1 * t + c2 * (1 - t) per channel on the 0..1 scale, clamped above at 1
// (not below: a negative channel wraps modulo 256), alpha 255.
color_t blend(color_t c1, color_t c2, float t);

}  // namespace vorn
