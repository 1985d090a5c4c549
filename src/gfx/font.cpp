// Measuring and drawing text in the bitmap font. Every glyph is an 11 x 11
// cell of the font image; pixels that are not opaque black are ink and take
// the caller's colour, all others leave the target untouched.
#include "gfx/font.h"

#include "base/view.h"

namespace vorn {

bool font_ready = false;

namespace {

constexpr color_t font_paper = 0xFF000000;  // every font pixel that is not ink

// The font image of slot, or null when text cannot be drawn from it. The
// cells are addressed with the fixed font layout (110 pixels a row), so an
// image with fewer pixels than that layout would be read past its end.
const typspr* font_in_slot(uint8_t slot) {
  if (slot >= images.size()) return nullptr;
  const typspr* font = images[slot];
  if (!font || !font->pixels || font->width <= 0 || font->height <= 0) return nullptr;
  if (int64_t{font->width} * font->height < int64_t{font_image_w} * font_image_h) return nullptr;
  return font;
}

// Top-left pixel of the cell holding ch.
const uint32_t* cell_start(const typspr* font, uint8_t ch) {
  const int32_t cell = glyph_cell(ch);
  return font->pixels + (cell / font_grid_columns) * font_grid_row_pixels +
         (cell % font_grid_columns) * font_cell_size;
}

int32_t pen_advance(uint8_t ch) { return ch == ' ' ? 4 : glyph_advance(ch); }

}  // namespace

void reset_font() {
  release_images();
  font_ready = false;
}

int32_t text_width(std::string_view text) {
  int32_t width = 0;
  for (char ch : text) width += pen_advance(static_cast<uint8_t>(ch));
  return width;
}

void draw_text(typspr* image, int32_t x, int32_t y, std::string_view text, uint8_t slot,
               color_t colour) {
  if (!font_ready || !image || x < 0 || y < 0 || int64_t{y} >= int64_t{image->height} - 10 ||
      !image->pixels)
    return;
  const typspr* font = font_in_slot(slot);
  if (!font) return;
  // pen + 10 < width and y + 10 < height keep the whole cell inside the image.
  int64_t pen = x;
  for (char c : text) {
    const auto ch = static_cast<uint8_t>(c);
    if (pen + 10 >= image->width) break;
    const uint32_t* cell = cell_start(font, ch);
    uint32_t* target = image->pixels + pen + int64_t{y} * image->width;
    for (int32_t j = 0; j < font_cell_size; ++j) {
      for (int32_t k = 0; k < font_cell_size; ++k) {
        if (cell[j * font_image_w + k] != font_paper) target[k] = colour;
      }
      target += image->width;
    }
    pen += pen_advance(ch);
  }
}

void draw_text_centred(typspr* image, int32_t x, int32_t y, std::string_view text, uint8_t slot,
                       color_t colour) {
  if (!font_ready || !image || !image->pixels) return;
  const typspr* font = font_in_slot(slot);
  if (!font) return;
  const int32_t half = text_width(text) / 2;
  const int64_t x0 = int64_t{x} - half;
  if (!(x0 > 0 && x0 < int64_t{screen_w} - half - 11 && y > 0 && int64_t{y} < int64_t{screen_h} - 12))
    return;
  // The position test uses the screen's size, not the image's, and lets the
  // string run past the right edge, where ink continues on the next pixel
  // row; ink whose element falls outside the image's pixels is dropped.
  const int64_t pixel_count = int64_t{image->width} * image->height;
  int64_t pen = x0;
  for (char c : text) {
    const auto ch = static_cast<uint8_t>(c);
    const uint32_t* cell = cell_start(font, ch);
    for (int32_t j = 0; j < font_cell_size; ++j) {
      const int64_t row = pen + (int64_t{y} + j) * image->width;
      for (int32_t k = 0; k < font_cell_size; ++k) {
        const int64_t at = row + k;
        if (cell[j * font_image_w + k] != font_paper && at >= 0 && at < pixel_count)
          image->pixels[at] = colour;
      }
    }
    pen += pen_advance(ch);
  }
}

void draw_title(typspr* image, int32_t x, int32_t y, std::string_view text, uint8_t slot) {
  draw_text_centred(image, x, y, text, slot, red);
}

}  // namespace vorn
