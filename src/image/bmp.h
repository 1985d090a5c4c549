// The BMP writer of screenshots: uncompressed 32-bit Windows bitmaps, rows
// stored bottom-up, each pixel as the bytes blue, green, red, alpha.
#pragma once

#include <cstdint>
#include <string>

namespace vorn {

// Writes width x height pixels (rows from the top, stride `width`) as a new
// BMP file; a leading '/' of the name is dropped, so the name is relative to
// the working directory. A file is never replaced: when one has that name,
// the picture goes under the name with -1, -2, ... before ".bmp" (the
// first that is free), and `written`, if given, receives the name used.
// Nothing appears under the name until the file is complete, so a failure
// never leaves a partial file. On failure one line naming the file and the
// reason goes to standard error and the result is false.
bool save_bmp(const std::string& file_name, const uint32_t* pixels, int32_t width, int32_t height,
              std::string* written = nullptr);

}  // namespace vorn
