// The PNG writer, through libpng: frames exported from a demo and the
// game's icons. The game's own decoder (png.h) stays the reader.
#pragma once

#include <cstdint>
#include <string>

namespace vorn {

// Writes width x height pixels (0xAARRGGBB, rows from the top, stride
// `width`) as an 8-bit PNG: RGBA when keep_alpha, otherwise RGB (the screen's
// alpha byte means nothing). The file is written under the name plus ".tmp"
// and renamed when complete, so a failure never leaves a partial file. On
// failure one line naming the file and the reason goes to standard error and
// the result is false.
bool save_png(const std::string& file_name, const uint32_t* pixels, int32_t width, int32_t height,
              bool keep_alpha);

}  // namespace vorn
