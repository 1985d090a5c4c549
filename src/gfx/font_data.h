// The font image carried inside the game: a PNG stream generated at build
// time from src/gfx/font_glyphs.txt by tools/fontgen.
#pragma once

#include <cstdint>

namespace vorn {

extern const unsigned char font_png[];
extern const int32_t font_png_size;  // bytes in font_png

}  // namespace vorn
