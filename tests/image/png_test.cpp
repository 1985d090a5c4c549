// The PNG decoder and the format registry on streams built here: pixel
// conversions, colour key, split image data, and hostile streams that must
// fail cleanly without touching memory outside their buffers.
#include "image/png.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "image/registry.h"

namespace vorn {
namespace {

using bytes = std::vector<uint8_t>;
using pixels = std::vector<uint32_t>;

void put_be32(bytes& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
}

void add_chunk(bytes& png, const char* type, const bytes& data) {
  put_be32(png, uint32_t(data.size()));
  const size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  put_be32(png, uint32_t(crc32(0, png.data() + start, uInt(png.size() - start))));
}

bytes ihdr(uint32_t w, uint32_t h, uint8_t depth, uint8_t type) {
  bytes d;
  put_be32(d, w);
  put_be32(d, h);
  d.insert(d.end(), {depth, type, 0, 0, 0});
  return d;
}

bytes deflated(const bytes& raw) {
  uLongf n = compressBound(uLong(raw.size()));
  bytes out(n);
  EXPECT_EQ(compress(out.data(), &n, raw.data(), uLong(raw.size())), Z_OK);
  out.resize(n);
  return out;
}

const bytes signature{137, 80, 78, 71, 13, 10, 26, 10};

// IHDR, optional PLTE, the IDAT chunks (each a piece of the deflated rows,
// filter bytes included) and IEND.
bytes make_png(const bytes& header, const std::vector<bytes>& idats, const bytes& plte = {}) {
  bytes png = signature;
  add_chunk(png, "IHDR", header);
  if (!plte.empty()) add_chunk(png, "PLTE", plte);
  for (const bytes& d : idats) add_chunk(png, "IDAT", d);
  add_chunk(png, "IEND", {});
  return png;
}

bytes make_png(uint32_t w, uint32_t h, uint8_t depth, uint8_t type, const bytes& raw,
               const bytes& plte = {}) {
  return make_png(ihdr(w, h, depth, type), {deflated(raw)}, plte);
}

// Decodes from a heap copy of exactly the stream's size, so that the address
// sanitizer sees any read past the end; empty on failure, which must leave
// the out parameters cleared.
pixels decode(const bytes& png, bool use_key = false, bool opaque = true, uint32_t key = 0) {
  std::unique_ptr<uint8_t[]> copy(new uint8_t[png.size()]);
  std::copy(png.begin(), png.end(), copy.get());
  int32_t w = -1, h = -1;
  uint32_t* out = &key;
  uint32_t* r =
      png_decode_memory(copy.get(), int32_t(png.size()), use_key, opaque, key, w, h, out, 0);
  EXPECT_EQ(r, out);
  if (r == nullptr) {
    EXPECT_EQ(w + h, 0);
    return {};
  }
  pixels px(r, r + size_t(w) * size_t(h));
  std::free(r);
  return px;
}

TEST(PngDecode, GreyDepthsScaleBy255_64_16) {
  const bytes png = make_png(3, 1, 2, 0, {0, 0x1C});  // samples 0, 1, 3: 00 01 11 00
  EXPECT_EQ(decode(png), (pixels{0xFF000000, 0xFF404040, 0xFFC0C0C0}));
  EXPECT_EQ(decode(png, false, false), (pixels{0x00000000, 0x00404040, 0x00C0C0C0}));
  EXPECT_EQ(decode(make_png(4, 1, 1, 0, {0, 0xB0})),
            (pixels{0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF}));
  EXPECT_EQ(decode(make_png(2, 1, 4, 0, {0, 0xF1})), (pixels{0xFFF0F0F0, 0xFF101010}));
}

TEST(PngDecode, ColourKeyClearsAlphaExceptInAlphaImages) {
  const bytes rgb = make_png(2, 1, 8, 2, {0, 0xFF, 0x00, 0xFF, 0x10, 0x20, 0x30});
  EXPECT_EQ(decode(rgb, true, true, 0x00FF00FF), (pixels{0x00FF00FF, 0xFF102030}));
  EXPECT_EQ(decode(rgb, false, true, 0x00FF00FF), (pixels{0xFFFF00FF, 0xFF102030}));
  const bytes rgba = make_png(2, 1, 8, 6, {0, 0xFF, 0x00, 0xFF, 0x80, 0x10, 0x20, 0x30, 0x00});
  EXPECT_EQ(decode(rgba, true, false, 0x00FF00FF), (pixels{0x80FF00FF, 0x00102030}));
}

TEST(PngDecode, PaletteIndicesStayInsideThePalette) {
  const bytes plte{1, 2, 3, 4, 5, 6, 7};  // two entries and a stray byte
  EXPECT_EQ(decode(make_png(3, 1, 8, 3, {0, 1, 0, 1}, plte)),
            (pixels{0xFF040506, 0xFF010203, 0xFF040506}));
  EXPECT_TRUE(decode(make_png(3, 1, 8, 3, {0, 1, 2, 0}, plte)).empty());
  EXPECT_TRUE(decode(make_png(1, 1, 8, 3, {0, 0})).empty());  // no palette at all
}

TEST(PngDecode, UnsupportedTypesAndDepthsFail) {
  EXPECT_TRUE(decode(make_png(1, 1, 8, 4, {0, 1, 2})).empty());
  EXPECT_TRUE(decode(make_png(1, 1, 16, 0, {0, 1, 2})).empty());
  EXPECT_TRUE(decode(make_png(1, 1, 16, 6, bytes(9))).empty());
}

TEST(PngDecode, ImageDataSplitAnywhereDecodesTheSame) {
  bytes raw;
  for (int y = 0; y < 5; ++y) {
    raw.push_back(uint8_t(y));  // filters 0 to 4
    for (int i = 0; i < 12; ++i) raw.push_back(uint8_t(37 * y + 11 * i + i * i % 7));
  }
  const pixels whole = decode(make_png(4, 5, 8, 2, raw));
  ASSERT_EQ(whole.size(), 20u);
  const bytes z = deflated(raw);
  for (size_t cut = 0; cut <= z.size(); ++cut) {
    const std::vector<bytes> parts{bytes(z.begin(), z.begin() + long(cut)),
                                   bytes(z.begin() + long(cut), z.end())};
    EXPECT_EQ(decode(make_png(ihdr(4, 5, 8, 2), parts)), whole) << "cut at " << cut;
  }
}

TEST(PngProbe, NeedsSignatureAndOneMoreByte) {
  bytes b = signature;
  EXPECT_FALSE(png_probe_memory(b.data(), 8));
  b.push_back(0);
  EXPECT_TRUE(png_probe_memory(b.data(), 9));
  EXPECT_FALSE(png_probe_memory(nullptr, 9));
  EXPECT_FALSE(png_probe_memory(b.data(), -1));
}

TEST(PngDecode, MalformedStreamsFailCleanly) {
  const bytes row_data{0, 1, 2, 3, 0, 4, 5, 6};
  const bytes good = make_png(3, 2, 8, 0, row_data);
  ASSERT_FALSE(decode(good).empty());
  for (size_t n = 0; n < good.size(); ++n) decode(bytes(good.begin(), good.begin() + long(n)));
  int32_t w, h;
  uint32_t* out;
  EXPECT_EQ(png_decode_memory(good.data(), -5, false, true, 0, w, h, out, 0), nullptr);

  bytes no_ihdr = signature;
  add_chunk(no_ihdr, "IDAT", deflated(row_data));
  EXPECT_TRUE(decode(no_ihdr).empty());
  bytes short_ihdr = ihdr(3, 2, 8, 0);
  short_ihdr.pop_back();
  EXPECT_TRUE(decode(make_png(short_ihdr, {deflated(row_data)})).empty());

  // The IDAT chunk (after 8 + 25 bytes) claiming more bytes than there are.
  bytes long_chunk = good;
  long_chunk[36] = 0xF0;
  EXPECT_TRUE(decode(long_chunk).empty());
  long_chunk[33] = 0xFF;
  EXPECT_TRUE(decode(long_chunk).empty());

  // Image data one byte short, not a zlib stream, or missing.
  EXPECT_TRUE(decode(make_png(3, 2, 8, 0, bytes(row_data.begin(), row_data.end() - 1))).empty());
  bytes damaged = good;
  damaged[41] ^= 0xFF;
  EXPECT_TRUE(decode(damaged).empty());
  EXPECT_TRUE(decode(make_png(ihdr(3, 2, 8, 0), {})).empty());

  // Up to 4 stray bytes after the last chunk are ignored; 5 to 11 refuse
  // the stream, since they would begin a chunk that does not fit.
  for (size_t stray = 1; stray <= 11; ++stray) {
    bytes tail = good;
    tail.insert(tail.end(), stray, 0);
    EXPECT_EQ(decode(tail).empty(), stray >= 5) << stray << " stray bytes";
  }
  EXPECT_EQ(png_decode_memory(nullptr, 100, false, true, 0, w, h, out, 0), nullptr);
  EXPECT_EQ(png_decode_memory(good.data(), 7, false, true, 0, w, h, out, 0), nullptr);
}

TEST(PngDecode, EmptyOrOversizedImagesFail) {
  EXPECT_TRUE(decode(make_png(0, 1, 8, 0, {0})).empty());
  EXPECT_TRUE(decode(make_png(1, 0, 8, 0, {0, 0})).empty());
  EXPECT_TRUE(decode(make_png(0xFFFFFFFF, 0xFFFFFFFF, 8, 6, {0})).empty());
  EXPECT_TRUE(decode(make_png(0x80000000, 1, 1, 0, {0})).empty());
  // A side of 65536 is accepted, one more is refused even with complete data,
  // and so is 8192 x 8193 (over 2^26 pixels).
  EXPECT_EQ(decode(make_png(65536, 1, 1, 0, bytes(1 + 8192))).size(), 65536u);
  EXPECT_TRUE(decode(make_png(65537, 1, 1, 0, bytes(1 + 8193))).empty());
  EXPECT_TRUE(decode(make_png(1, 65537, 1, 0, bytes(size_t(65537) * 2))).empty());
  EXPECT_TRUE(decode(make_png(8192, 8193, 1, 0, bytes(size_t(8193) * 1025))).empty());
}

bool accept_all(const uint8_t*, int32_t) { return true; }
uint32_t* refuse(const uint8_t*, int32_t, bool, bool, uint32_t, int32_t&, int32_t&, uint32_t*&,
                 int32_t) {
  return nullptr;
}

TEST(ImageRegistry, FirstAcceptingFormatDecodes) {
  reset_image_formats();
  register_builtin_formats();
  register_builtin_formats();
  ASSERT_EQ(image_formats.size(), 2u);
  EXPECT_EQ(image_formats[0].probe_memory, nullptr);  // BMP cannot be read from memory
  EXPECT_EQ(image_formats[1].probe_memory, &png_probe_memory);

  const bytes png = make_png(3, 1, 2, 0, {0, 0x1C});
  typspr* img = image_from_memory(png.data(), int32_t(png.size()), 0);
  ASSERT_NE(img, nullptr);
  EXPECT_EQ(img->half_width, 1);
  EXPECT_EQ(img->pixels[2], 0xFFC0C0C0u);  // opaque
  std::free(img->pixels);
  delete img;
  int32_t w, h;
  uint32_t* out = reinterpret_cast<uint32_t*>(&w);
  EXPECT_EQ(load_image_from_memory(nullptr, 10, w, h, out, 0), nullptr);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(image_from_memory(signature.data(), 8, 0), nullptr);

  // Once a format accepts the data no later one is asked, even when it has
  // no memory decoder at all.
  reset_image_formats();
  register_format(
      image_format{nullptr, nullptr, nullptr, nullptr, accept_all, nullptr, nullptr, nullptr});
  register_builtin_formats();
  EXPECT_EQ(image_from_memory(png.data(), int32_t(png.size()), 0), nullptr);
  reset_image_formats();
  register_format(
      image_format{nullptr, nullptr, nullptr, nullptr, accept_all, nullptr, refuse, nullptr});
  register_builtin_formats();
  EXPECT_EQ(image_from_memory(png.data(), int32_t(png.size()), 0), nullptr);
  reset_image_formats();
}

}  // namespace
}  // namespace vorn
