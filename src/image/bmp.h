// The BMP writer of screenshots: uncompressed 32-bit Windows bitmaps, rows
// stored bottom-up, each pixel as the bytes blue, green, red, alpha.
#pragma once

#include <cstdint>
#include <string>

namespace vorn {

// Writes width x height pixels (rows from the top, stride `width`) as a BMP
// file; a leading '/' of the name is dropped, so the name is relative to the
// working directory. The file is written under the name plus ".tmp" and
// renamed when complete, so a failure never leaves a partial file (nor
// replaces an older one). On failure one line naming the file and the
// reason goes to standard error and the result is false.
bool save_bmp(const std::string& file_name, const uint32_t* pixels, int32_t width, int32_t height);

}  // namespace vorn
