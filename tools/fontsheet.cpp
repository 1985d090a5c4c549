// Developer's view of the font: renders the glyph source enlarged into a PPM
// picture, every cell on its grid with its advance shaded, followed by sample
// lines given on the command line (UTF-8; Cyrillic is mapped to its byte).
// Usage: fontsheet <font_glyphs.txt> <out.ppm> [scale] [sample text ...]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "gfx/glyph_map.h"
#include "gfx/glyph_source.h"

namespace {

using namespace vorn;

struct picture {
  int32_t w, h;
  std::vector<uint32_t> rgb;
  void fill(int32_t x, int32_t y, int32_t fw, int32_t fh, uint32_t c) {
    for (int32_t j = y; j < y + fh && j < h; ++j)
      for (int32_t i = x; i < x + fw && i < w; ++i) rgb[i + j * w] = c;
  }
};

// UTF-8 to the font's single bytes: ASCII as is, Cyrillic to Windows-1251.
std::string to_font_bytes(const std::string& utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto b = static_cast<uint8_t>(utf8[i]);
    if (b < 0x80 || i + 1 >= utf8.size()) {
      out += static_cast<char>(b);
      continue;
    }
    const uint32_t cp = ((b & 0x1Fu) << 6) | (static_cast<uint8_t>(utf8[++i]) & 0x3Fu);
    if (cp >= 0x410 && cp <= 0x44F) out += static_cast<char>(cp - 0x410 + 192);
    else if (cp == 0x401) out += static_cast<char>(168);
    else if (cp == 0x451) out += static_cast<char>(184);
    else out += '?';
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: fontsheet <font_glyphs.txt> <out.ppm> [scale] [text ...]\n");
    return 2;
  }
  glyph_sheet sheet;
  std::string error;
  if (!read_glyph_source(argv[1], sheet, error)) {
    std::fprintf(stderr, "fontsheet: %s\n", error.c_str());
    return 1;
  }
  const int32_t s = argc > 3 ? std::max(1, std::atoi(argv[3])) : 4;
  const int32_t pitch = font_cell_size + 1;  // one grid line between cells
  std::vector<std::string> samples;
  for (int i = 4; i < argc; ++i) samples.push_back(to_font_bytes(argv[i]));
  int32_t sample_w = 0;
  for (const std::string& t : samples) {
    int32_t w = 0;
    for (char c : t) w += glyph_advance(static_cast<uint8_t>(c));
    sample_w = std::max(sample_w, w);
  }
  picture pic{std::max(font_grid_columns * pitch + 1, sample_w + 2) * s,
              (font_grid_rows * pitch + 1 + static_cast<int32_t>(samples.size()) * 12 + 1) * s,
              {}};
  pic.rgb.assign(static_cast<size_t>(pic.w * pic.h), 0x303030);
  auto ink = [&](int32_t cell, int32_t k, int32_t j) {
    const int32_t x = (cell % font_grid_columns) * font_cell_size + k;
    const int32_t y = (cell / font_grid_columns) * font_cell_size + j;
    return sheet[x + y * font_image_w] != 0;
  };
  for (int32_t cell = 0; cell < font_cells; ++cell) {
    const int32_t ox = 1 + (cell % font_grid_columns) * pitch;
    const int32_t oy = 1 + (cell / font_grid_columns) * pitch;
    const int32_t adv = cell == empty_cell ? 0 : glyph_advance(cell_codes[cell]);
    for (int32_t j = 0; j < font_cell_size; ++j) {
      for (int32_t k = 0; k < font_cell_size; ++k) {
        uint32_t c = k < adv ? 0x102040 : 0x000000;
        if (j == 6 || j == 1) c += 0x101010;  // baseline and cap line guides
        if (ink(cell, k, j)) c = 0xFFFFFF;
        pic.fill((ox + k) * s, (oy + j) * s, s, s, c);
      }
    }
  }
  int32_t y = font_grid_rows * pitch + 1;
  for (const std::string& t : samples) {
    pic.fill(0, y * s, pic.w, 12 * s, 0x000000);
    int32_t x = 1;
    for (char ch : t) {
      const auto b = static_cast<uint8_t>(ch);
      const int32_t cell = glyph_cell(b);
      for (int32_t j = 0; j < font_cell_size; ++j)
        for (int32_t k = 0; k < font_cell_size; ++k)
          if (ink(cell, k, j)) pic.fill((x + k) * s, (y + j) * s, s, s, 0xFF4040);
      x += glyph_advance(b);
    }
    y += 12;
  }
  std::ofstream out(argv[2], std::ios::binary);
  out << "P6\n" << pic.w << ' ' << pic.h << "\n255\n";
  for (uint32_t c : pic.rgb) {
    const char px[3] = {static_cast<char>(c >> 16), static_cast<char>(c >> 8),
                        static_cast<char>(c)};
    out.write(px, 3);
  }
  if (!out) {
    std::fprintf(stderr, "fontsheet: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
