// The image record every drawing operation writes into: 32-bit pixels, row
// after row, with a stride of exactly `width`. Also the screen image and the
// list of loaded images (slot 0 holds the font).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/color.h"

namespace vorn {

struct typspr {
  uint32_t* pixels = nullptr;  // pixel (x, y) is pixels[x + y * width]
  int32_t width = 0;
  int32_t height = 0;
  int32_t half_width = 0;   // width div 2
  int32_t half_height = 0;  // height div 2
  // Nothing but the test of new_image reads the fields below.
  int32_t creation_mark = 0;     // 1 once new_image or open_window set the record up
  bool creation_flag = false;    // true once new_image or open_window set the record up
  std::string label;             // empty at creation, and never set
  int32_t unused_a = 0;          // never set: always 0
  int32_t unused_b = 0;          // never set: always 0
};

// A new record for the given pixels (which it does not allocate or own).
typspr* new_image(uint32_t* pixels, int32_t width, int32_t height);

// The screen: its pixels are the video surface's own memory (set by the
// window layer after every present).
extern typspr screen;

// Loaded images; slot 0 is the font. Owned by the rendering subsystem.
extern std::vector<typspr*> images;

// Frees every image in `images` (and their pixels) and empties the list.
void release_images();

}  // namespace vorn
