// Layout of the bitmap font: which 11 x 11 cell of the 110 x 165 font image
// holds each character, and how far each character moves the pen. Plain
// constant tables, shared by the text drawing and the font image builder.
#pragma once

#include <array>
#include <cstdint>

namespace vorn {

constexpr int32_t font_cell_size = 11;
constexpr int32_t font_grid_columns = 10;
constexpr int32_t font_grid_rows = 15;
constexpr int32_t font_cells = font_grid_columns * font_grid_rows;     // 150
constexpr int32_t font_image_w = font_grid_columns * font_cell_size;  // 110
constexpr int32_t font_image_h = font_grid_rows * font_cell_size;     // 165
// Pixels from one grid row of cells to the next: 11 rows of 110.
constexpr int32_t font_grid_row_pixels = font_cell_size * font_image_w;  // 1210
// The cell without ink that every character outside the table maps to.
constexpr int32_t empty_cell = 15;

// The character of each cell, in cell order (Cyrillic in Windows-1251). The
// cells follow a keyboard: digits, shifted digits, punctuation, the Latin
// letters in lower and upper case, the Cyrillic letters in lower and upper
// case (with yo last), then period and comma. Cell 15 has no character.
inline constexpr std::array<uint8_t, font_cells> cell_codes = {
    '1', '2', '3', '4', '5', '6', '7', '8', '9', '0',                  //
    '!', '@', '#', '$', '%', 0, '&', '*', '(', ')',                    //
    '-', '=', '+', '\\', '/', ';', ':', '<', '>', '?',                  //
    'q', 'w', 'e', 'r', 't', 'y', 'u', 'i', 'o', 'p',                  //
    'a', 's', 'd', 'f', 'g', 'h', 'j', 'k', 'l', 'z',                  //
    'x', 'c', 'v', 'b', 'n', 'm', 'Q', 'W', 'E', 'R',                  //
    'T', 'Y', 'U', 'I', 'O', 'P', 'A', 'S', 'D', 'F',                  //
    'G', 'H', 'J', 'K', 'L', 'Z', 'X', 'C', 'V', 'B',                  //
    'N', 'M', 233, 246, 243, 234, 229, 237, 227, 248,                  //
    249, 231, 245, 250, 244, 251, 226, 224, 239, 240,                  //
    238, 235, 228, 230, 253, 255, 247, 241, 236, 232,                  //
    242, 252, 225, 254, 184, 201, 214, 211, 202, 197,                  //
    205, 195, 216, 217, 199, 213, 218, 212, 219, 194,                  //
    192, 207, 208, 206, 203, 196, 198, 221, 223, 215,                  //
    209, 204, 200, 210, 220, 193, 222, 168, '.', ',',                  //
};

namespace font_detail {

struct advance_group {
  uint8_t advance;
  const char* chars;  // characters of this advance, as Windows-1251 bytes
};

// Every character not listed advances 12, the empty cell's characters too.
inline constexpr advance_group advance_groups[] = {
    {3, "!:;"},
    {4, " (),./1I\\il"},
    {5, "-=j"},
    {6, "$*<>?f"},
    {7, "+02356789CEFGOSTcdegrstuvxz"
        "\xA8\xB8\xC3\xC5\xCE\xD1\xD2\xE1\xE2\xE3\xE4\xE5\xE7\xEE\xF1\xF5\xFD"},
    {8, "#&4BDJLPRUabhnopqy"
        "\xC0\xC1\xC2\xC7\xCF\xD0\xD3\xD7\xDC\xDD\xDF\xE0\xE8\xE9\xEA\xEB\xED\xEF\xF0\xF3\xF7\xFC"
        "\xFF"},
    {9, "AHVYZk\xC4\xC8\xC9\xCA\xCB\xCD\xD4\xD6\xDA\xE6\xF4\xF6\xFA"},
    {10, "%@KMNQXmw\xD5\xD8\xDE\xEC\xF2\xF8\xFB\xFE"},
    {11, "W\xC6\xCC\xD9\xDB\xF9"},
};

constexpr std::array<uint8_t, 256> make_cell_table() {
  std::array<uint8_t, 256> table{};
  table.fill(empty_cell);
  for (int32_t c = 0; c < font_cells; ++c) {
    if (c != empty_cell) table[cell_codes[c]] = static_cast<uint8_t>(c);
  }
  return table;
}

constexpr std::array<uint8_t, 256> make_advance_table() {
  std::array<uint8_t, 256> table{};
  table.fill(12);
  for (const advance_group& group : advance_groups) {
    for (const char* p = group.chars; *p; ++p) {
      table[static_cast<uint8_t>(*p)] = group.advance;
    }
  }
  return table;
}

inline constexpr std::array<uint8_t, 256> cell_table = make_cell_table();
inline constexpr std::array<uint8_t, 256> advance_table = make_advance_table();

}  // namespace font_detail

// The cell (0 .. 149) that holds the glyph of character ch.
constexpr int32_t glyph_cell(uint8_t ch) { return font_detail::cell_table[ch]; }

// How far character ch moves the pen, in pixels.
constexpr int32_t glyph_advance(uint8_t ch) { return font_detail::advance_table[ch]; }

}  // namespace vorn
