// Tests of the bitmap font: the character tables, the glyph source and its
// reader, the generated PNG stream, and text drawing with a font image built
// here from the glyph source.
#include <zlib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/window.h"
#include "gfx/font.h"
#include "gfx/font_data.h"
#include "gfx/glyph_source.h"

#include "image/registry.h"

namespace vorn {
namespace {

const std::string glyph_path = VORN_SOURCE_DIR "/src/gfx/font_glyphs.txt";

std::string glyph_text() {
  std::ifstream in(glyph_path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

const glyph_sheet& sheet() {
  static const glyph_sheet parsed = [] {
    glyph_sheet s;
    std::string error;
    EXPECT_TRUE(read_glyph_source(glyph_path, s, error)) << error;
    return s;
  }();
  return parsed;
}

bool ink(int32_t cell, int32_t k, int32_t j) {
  return sheet()[(cell % 10) * 11 + k + ((cell / 10) * 11 + j) * 110] != 0;
}

// The character tables as the font's layout documents them, typed anew.
TEST(FontTables, EveryCharacterHasItsCellAndAdvance) {
  const char* rows = "1234567890!@#$%\x01&*()-=+\\/;:<>?qwertyuiopasdfghjklzxcvbnmQWER"
                     "TYUIOPASDFGHJKLZXCVBNM";
  const int cyrillic[] = {233, 246, 243, 234, 229, 237, 227, 248, 249, 231, 245, 250, 244, 251,
                          226, 224, 239, 240, 238, 235, 228, 230, 253, 255, 247, 241, 236, 232,
                          242, 252, 225, 254, 184, 201, 214, 211, 202, 197, 205, 195, 216, 217,
                          199, 213, 218, 212, 219, 194, 192, 207, 208, 206, 203, 196, 198, 221,
                          223, 215, 209, 204, 200, 210, 220, 193, 222, 168, '.', ','};
  std::vector<int> expected_cell(256, 15);
  int cell = 0;
  for (const char* p = rows; *p; ++p, ++cell)
    if (cell != 15) expected_cell[static_cast<uint8_t>(*p)] = cell;
  for (int code : cyrillic) expected_cell[code] = cell++;
  ASSERT_EQ(cell, 150);

  std::vector<int> expected_advance(256, 12);
  const struct {
    int advance;
    const char* ascii;
    std::vector<int> codes;
  } groups[] = {
      {3, "!:;", {}},
      {4, " ()/,.1I\\il", {}},
      {5, "-=j", {}},
      {6, "$*<>?f", {}},
      {7, "+0235 6789CEFGOSTcdegrstuvxz",
       {168, 184, 195, 197, 206, 209, 210, 225, 226, 227, 228, 229, 231, 238, 241, 245, 253}},
      {8, "#&4BDJLPRUabhnopqy", {192, 193, 194, 199, 207, 208, 211, 215, 220, 221, 223, 224,
                                 232, 233, 234, 235, 237, 239, 240, 243, 247, 252, 255}},
      {9, "AHVYZk", {196, 200, 201, 202, 203, 205, 212, 214, 218, 230, 244, 246, 250}},
      {10, "%@KMNQXmw", {213, 216, 222, 236, 242, 248, 251, 254}},
      {11, "W", {198, 204, 217, 219, 249}},
  };
  for (const auto& g : groups) {
    for (const char* p = g.ascii; *p; ++p)
      if (*p != ' ' || g.advance == 4) expected_advance[static_cast<uint8_t>(*p)] = g.advance;
    for (int code : g.codes) expected_advance[code] = g.advance;
  }
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(glyph_cell(static_cast<uint8_t>(c)), expected_cell[c]) << "code " << c;
    EXPECT_EQ(glyph_advance(static_cast<uint8_t>(c)), expected_advance[c]) << "code " << c;
  }
  EXPECT_EQ(text_width("Lives "), 37);
  EXPECT_EQ(text_width("a^b"), text_width("a\xAA" "b"));
}

TEST(GlyphSource, GlyphsKeepToTheirRowsAndAdvances) {
  ASSERT_EQ(sheet().size(), 110u * 165u);
  for (int cell = 0; cell < 150; ++cell) {
    const int advance = cell == 15 ? 1 : glyph_advance(cell_codes[cell]);
    int count = 0;
    for (int j = 0; j < 11; ++j)
      for (int k = 0; k < 11; ++k)
        if (ink(cell, k, j)) {
          ++count;
          EXPECT_LE(j, 8) << "cell " << cell;
          EXPECT_LE(k, advance - 2) << "cell " << cell;
        }
    EXPECT_EQ(count > 0, cell != 15) << "cell " << cell;
  }
  // Capitals and digits stand on rows 0..6; short lower case keeps to 2..6.
  auto rows_used = [](char ch, int from, int to) {
    for (int j = 0; j < 11; ++j)
      for (int k = 0; k < 11; ++k)
        if (ink(glyph_cell(static_cast<uint8_t>(ch)), k, j) && (j < from || j > to)) return false;
    return true;
  };
  for (char ch : std::string("ABCDEFGHIJKLMNOPRSTUVWXYZ0123456789"))
    EXPECT_TRUE(rows_used(ch, 0, 6)) << ch;
  for (char ch : std::string("acemnorsuvwxz")) EXPECT_TRUE(rows_used(ch, 2, 6)) << ch;
}

// The source with the row `row` of cell `cell` replaced.
std::string with_row(int cell, int row, const std::string& replacement) {
  std::string text = glyph_text();
  size_t at = text.find("\ncell " + std::to_string(cell) + " ");
  at = text.find('\n', at + 1) + 1;
  for (int r = 0; r < row; ++r) at = text.find('\n', at) + 1;
  return text.replace(at, text.find('\n', at) - at, replacement);
}

TEST(GlyphSource, ReaderRejectsMalformedCells) {
  glyph_sheet s;
  std::string error;
  const struct {
    std::string text;
    const char* says;
  } cases[] = {
      {with_row(40, 3, ".......#..."), "column 7"},    // 'a' advances 8: columns 0..6
      {with_row(40, 9, "#.........."), "rows 9 and 10"},
      {with_row(15, 2, "#.........."), "empty cell"},
      {with_row(40, 3, ".#...x....."), "unexpected character 'x'"},
      {with_row(40, 3, ".#........"), "10 characters wide"},
      {with_row(40, 3, ""), "line "},
      {glyph_text() + "\n...........\n", "after the last cell"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    EXPECT_FALSE(parse_glyph_source(c.text, s, error));
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
  }
  std::string swapped = glyph_text();
  swapped.replace(swapped.find("cell 1 code 50"), 14, "cell 1 code 51");
  EXPECT_FALSE(parse_glyph_source(swapped, s, error));
  EXPECT_NE(error.find("code 51 belongs to cell 2"), std::string::npos) << error;
  EXPECT_TRUE(parse_glyph_source(glyph_text(), s, error)) << error;
}

uint32_t be32(const unsigned char* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

TEST(FontStream, IsThePaletteImageOfTheGlyphSource) {
  const unsigned char* png = font_png;
  ASSERT_GT(font_png_size, 8);
  const unsigned char signature[] = {137, 80, 78, 71, 13, 10, 26, 10};
  ASSERT_EQ(std::memcmp(png, signature, 8), 0);
  std::vector<std::string> order;
  std::vector<unsigned char> idat;
  for (int32_t p = 8; p + 12 <= font_png_size;) {
    const uint32_t length = be32(png + p);
    ASSERT_LE(p + 12 + int64_t{length}, font_png_size);
    const std::string type(reinterpret_cast<const char*>(png + p + 4), 4);
    const unsigned char* data = png + p + 8;
    order.push_back(type);
    EXPECT_EQ(be32(data + length), crc32(0, png + p + 4, length + 4)) << type;
    if (type == "IHDR") {
      EXPECT_EQ(be32(data), 110u);
      EXPECT_EQ(be32(data + 4), 165u);
      EXPECT_EQ(data[8], 8);   // depth
      EXPECT_EQ(data[9], 3);   // palette
      EXPECT_EQ(data[12], 0);  // not interlaced
    }
    if (type == "PLTE") {
      EXPECT_EQ(std::vector<unsigned char>(data, data + length),
                (std::vector<unsigned char>{0, 0, 0, 252, 0, 0}));
    }
    if (type == "IDAT") idat.insert(idat.end(), data, data + length);
    p += 12 + static_cast<int32_t>(length);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"IHDR", "pHYs", "iCCP", "gAMA", "cHRM", "PLTE",
                                              "IDAT", "IEND"}));
  std::vector<unsigned char> raw(165 * 111 + 1);
  uLongf size = raw.size();
  ASSERT_EQ(uncompress(raw.data(), &size, idat.data(), idat.size()), Z_OK);
  ASSERT_EQ(size, 165u * 111u);
  for (int y = 0; y < 165; ++y) {
    EXPECT_EQ(raw[y * 111], 0) << "filter of row " << y;
    for (int x = 0; x < 110; ++x) ASSERT_EQ(raw[y * 111 + 1 + x], sheet()[x + y * 110]);
  }
}

// Text drawing with the font image built from the glyph source in slot 0.
class FontDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_font();
    auto* pixels = static_cast<uint32_t*>(std::malloc(110 * 165 * sizeof(uint32_t)));
    for (int i = 0; i < 110 * 165; ++i) pixels[i] = sheet()[i] ? 0xFFFC0000 : 0xFF000000;
    images.push_back(new_image(pixels, 110, 165));
    font_ready = true;
    screen_w = 200;
    screen_h = 60;
  }
  void TearDown() override {
    reset_font();
    reset_window_state();
  }

  struct canvas {
    std::vector<uint32_t> pixels;
    typspr image;
    canvas(int32_t w, int32_t h) : pixels(static_cast<size_t>(w * h), 0) {
      image.pixels = pixels.data();
      image.width = w;
      image.height = h;
    }
    int inked() const {
      int n = 0;
      for (uint32_t p : pixels) n += p == white;
      return n;
    }
  };

  static int ink_of(std::string_view text) {
    int n = 0;
    for (char c : text)
      for (int j = 0; j < 11; ++j)
        for (int k = 0; k < 11; ++k) n += ink(glyph_cell(static_cast<uint8_t>(c)), k, j);
    return n;
  }
};

TEST_F(FontDrawing, DrawTextKeepsInsideTheImage) {
  canvas c(800, 40);
  draw_text(&c.image, 0, 0, "Lives 3", 0, white);
  EXPECT_EQ(c.inked(), ink_of("Lives 3"));
  canvas low(800, 40);
  draw_text(&low.image, 0, 30, "Hg", 0, white);
  EXPECT_EQ(low.inked(), 0);  // y = height - 10
  draw_text(&low.image, 0, 29, "Hg", 0, white);
  EXPECT_EQ(low.inked(), ink_of("Hg"));
  canvas edge(800, 40);
  draw_text(&edge.image, 780, 0, "WW", 0, white);  // 780 + 11 + 10 reaches the edge
  EXPECT_EQ(edge.inked(), ink_of("W"));
  canvas narrow(800, 40);
  draw_text(&narrow.image, 780, 0, "11", 0, white);
  EXPECT_EQ(narrow.inked(), ink_of("11"));
  canvas none(800, 40);
  draw_text(&none.image, 790, 0, "1", 0, white);
  draw_text(&none.image, -1, 0, "1", 0, white);
  draw_text(&none.image, 0, -1, "1", 0, white);
  EXPECT_EQ(none.inked(), 0);
  // No image at all: nothing is drawn, and nothing is read through it.
  draw_text(nullptr, 0, 0, "1", 0, white);
  draw_text_centred(nullptr, 100, 20, "1", 0, white);
  draw_title(nullptr, 100, 20, "1", 0);
}

TEST_F(FontDrawing, BlankAndUnknownCharactersOnlyAdvance) {
  canvas plain(100, 20), shifted(100, 20);
  draw_text(&plain.image, 0, 0, " ^\xAA", 0, white);
  EXPECT_EQ(plain.inked(), 0);
  draw_text(&plain.image, 4 + 12 + 12 + 7, 0, "A", 0, white);
  draw_text(&plain.image, 4 + 12 + 12, 0, "\xA8", 0, white);
  draw_text(&shifted.image, 0, 0, " ^\xAA\xA8" "A", 0, white);
  EXPECT_EQ(shifted.pixels, plain.pixels);
  // Yo is cell 147, drawn as it stands in the glyph source; A follows at 7.
  for (int j = 0; j < 11; ++j)
    for (int k = 0; k < 7; ++k)
      EXPECT_EQ(shifted.pixels[28 + k + j * 100] == white, ink(147, k, j));
}

TEST_F(FontDrawing, CentredTextTestsTheScreenAndNeverWritesOutside) {
  canvas c(200, 60);
  const int32_t half = text_width("Paused") / 2;
  draw_title(&c.image, half, 10, "Paused", 0);      // x0 = 0
  draw_title(&c.image, 100, 0, "Paused", 0);        // y = 0
  draw_title(&c.image, 100, 48, "Paused", 0);       // y = screen_h - 12
  EXPECT_EQ(c.inked() + std::count(c.pixels.begin(), c.pixels.end(), red), 0);
  draw_text_centred(&c.image, half + 1, 47, "Paused", 0, white);
  EXPECT_EQ(c.inked(), ink_of("Paused"));
  // Past the right edge ink runs on at the start of the next row.
  canvas wrap(200, 60);
  draw_text_centred(&wrap.image, 188, 10, "WWWWW", 0, white);  // x0 = 161: the last W at 205
  EXPECT_EQ(wrap.inked(), ink_of("WWWWW"));
  EXPECT_EQ(wrap.pixels[5 + 11 * 200], white);  // the W's top-left ink, one row down
  // An image smaller than the screen: ink past its end is dropped.
  canvas small(200, 30);
  draw_text_centred(&small.image, 188, 47, "WWWWW", 0, white);
  EXPECT_EQ(small.inked(), 0);
  draw_text_centred(&small.image, 188, 25, "WWWWW", 0, white);
  EXPECT_GT(small.inked(), 0);
  EXPECT_LT(small.inked(), ink_of("WWWWW"));
}

TEST_F(FontDrawing, NothingWithoutAUsableFont) {
  canvas c(200, 60);
  draw_text(&c.image, 5, 5, "Lives", 1, white);  // no slot 1
  draw_text_centred(&c.image, 100, 20, "Lives", 1, white);
  images.push_back(nullptr);  // a failed decode
  draw_text(&c.image, 5, 5, "Lives", 1, white);
  images.push_back(new_image(static_cast<uint32_t*>(std::calloc(110 * 10, 4)), 110, 10));
  draw_text(&c.image, 5, 5, "Lives", 2, white);  // too small for the cell layout
  draw_text_centred(&c.image, 100, 20, "Lives", 2, white);
  font_ready = false;
  draw_text(&c.image, 5, 5, "Lives", 0, white);
  draw_text_centred(&c.image, 100, 20, "Lives", 0, white);
  EXPECT_EQ(c.inked(), 0);
}

TEST(FontLoading, EmbeddedStreamDecodesToTheGlyphs) {
  reset_font();
  load_font();
  ASSERT_TRUE(font_ready);
  ASSERT_EQ(images.size(), 1u);
  ASSERT_NE(images[0], nullptr);
  ASSERT_EQ(images[0]->width, 110);
  ASSERT_EQ(images[0]->height, 165);
  for (int i = 0; i < 110 * 165; ++i)
    ASSERT_EQ(images[0]->pixels[i], sheet()[i] ? 0xFFFC0000u : 0xFF000000u) << "pixel " << i;
  reset_font();
}

}  // namespace
}  // namespace vorn
