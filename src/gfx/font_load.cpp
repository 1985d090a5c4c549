// Loading the font: decodes the PNG stream built into the game through the
// image-format registry. Kept apart from the text drawing so that drawing
// text does not pull the decoder and the built-in font stream into every
// program that links it: only a call of load_font does.
#include "gfx/font.h"
#include "gfx/font_data.h"
#include "image/registry.h"

namespace vorn {

void load_font() {
  register_builtin_formats();
  typspr* font = image_from_memory(font_png, font_png_size, 0);
  release_images();
  images.push_back(font);
  font_ready = true;
}

}  // namespace vorn
