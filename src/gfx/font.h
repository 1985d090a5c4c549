// Text in Vorn's bitmap font: measuring, and drawing left-aligned or centred
// in one colour. The font image lives in a slot of `images` (slot 0, loaded
// from the image built into the game by load_font).
#pragma once

#include <cstdint>
#include <string_view>

#include "base/color.h"
#include "gfx/glyph_map.h"
#include "image/image.h"

namespace vorn {

// False until load_font has run (true afterwards even if decoding failed).
extern bool font_ready;

// Decodes the built-in font image into slot 0 of `images`, which becomes one
// slot long (the slot holds null when decoding fails), and sets font_ready.
void load_font();

// Frees the font and empties `images`; font_ready becomes false (tests).
void reset_font();

// The sum of the characters' advances. Text is single bytes: ASCII, and
// Windows-1251 for Cyrillic.
int32_t text_width(std::string_view text);

// Text with its first cell's top-left corner at (x, y). Draws nothing unless
// the font is ready, the image is not null, it and the font slot have
// pixels, x >= 0 and 0 <= y < image height - 10; stops, by whole characters,
// before a cell whose right column would reach the image's right edge.
void draw_text(typspr* image, int32_t x, int32_t y, std::string_view text, uint8_t slot,
               color_t colour);

// Text centred on x with its top row at y. Draws nothing into a null image
// or one without pixels. The position is judged against the screen size
// (screen_w, screen_h), not the image's; ink beyond the right edge runs on
// at the start of the next pixel row.
void draw_text_centred(typspr* image, int32_t x, int32_t y, std::string_view text, uint8_t slot,
                       color_t colour);

// draw_text_centred in red.
void draw_title(typspr* image, int32_t x, int32_t y, std::string_view text, uint8_t slot);

}  // namespace vorn
