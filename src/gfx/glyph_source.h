// Reader of the font's glyph source (src/gfx/font_glyphs.txt): 150 cells of
// 11 x 11 characters, '#' ink and '.' empty, each under a header naming its
// cell and character. Used by the font image builder and the font tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// The glyph sheet as the font image lays it out: font_image_w x font_image_h
// entries, row by row, 1 for ink and 0 for empty.
using glyph_sheet = std::vector<uint8_t>;

// Parses the glyph source. On success fills sheet and returns true; on a
// malformed source returns false with error saying "line N: what is wrong".
bool parse_glyph_source(std::string_view text, glyph_sheet& sheet, std::string& error);

// Reads and parses the file at path; a file that cannot be read is an error.
bool read_glyph_source(const std::string& path, glyph_sheet& sheet, std::string& error);

}  // namespace vorn
