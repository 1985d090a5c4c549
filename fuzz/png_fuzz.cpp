// Fuzz target of the PNG decoder and the image registry. Beyond "no crash,
// no leak" it checks that every decode reports a sane, self-consistent
// result, that the opaque and colour-key switches change only alpha, that
// the registry decodes exactly what the decoder does, and that splitting the
// image data into more chunks changes nothing. The input is decoded as it
// stands, and also read as a header and raw filtered rows from which a
// well-formed stream is built, so that mutations reach the filters and the
// pixel conversions past zlib; those pixels are compared with a plain
// reference decoding of the rows.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <zlib.h>

#include "fuzz_check.h"
#include "image/png.h"
#include "image/registry.h"

namespace {

using vorn::fuzz::require;

struct decoded {
  uint32_t* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;

  decoded() = default;
  decoded(const decoded&) = delete;
  decoded& operator=(const decoded&) = delete;
  ~decoded() { std::free(pixels); }

  size_t count() const { return size_t(width) * size_t(height); }
};

// The out parameters start as garbage so that a decoder that forgets to
// reset them is caught; afterwards they must agree with the result.
void check_result(uint32_t* result, decoded& d) {
  require(result == d.pixels, "the result is the pixels out parameter");
  if (result == nullptr) {
    require(d.width == 0 && d.height == 0, "a failed decode leaves the size 0 x 0");
    return;
  }
  require(d.width >= 1 && d.width <= vorn::png_max_side, "width in 1..cap");
  require(d.height >= 1 && d.height <= vorn::png_max_side, "height in 1..cap");
  require(int64_t(d.width) * d.height <= vorn::png_max_pixels, "pixel count within the cap");
}

void decode(const uint8_t* data, int32_t size, bool use_key, bool opaque, uint32_t key,
            decoded& d) {
  d.width = -7;
  d.height = -7;
  d.pixels = reinterpret_cast<uint32_t*>(uintptr_t{0x10});
  uint32_t* result =
      vorn::png_decode_memory(data, size, use_key, opaque, key, d.width, d.height, d.pixels, 0);
  check_result(result, d);
}

bool same_image(const decoded& a, const decoded& b) {
  if ((a.pixels == nullptr) != (b.pixels == nullptr)) return false;
  if (a.pixels == nullptr) return true;
  return a.width == b.width && a.height == b.height &&
         std::memcmp(a.pixels, b.pixels, a.count() * 4) == 0;
}

uint32_t be32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

void put_be32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

// The same stream with every IDAT cut in two at its middle, or empty when
// the chunk walk does not reach the end cleanly (every chunk whole, fewer
// than 5 bytes left over).
std::vector<uint8_t> split_image_data(const uint8_t* data, size_t size) {
  std::vector<uint8_t> out;
  if (size < 8) return out;
  out.assign(data, data + 8);
  size_t p = 8;
  while (p + 4 < size) {
    if (size - p < 12) return {};
    const uint32_t length = be32(data + p);
    if (length > size - p - 12) return {};
    const uint8_t* chunk = data + p;
    if (std::memcmp(chunk + 4, "IDAT", 4) == 0) {
      const uint32_t first = length / 2;
      const uint32_t parts[2][2] = {{0, first}, {first, length - first}};
      for (const auto& part : parts) {
        put_be32(out, part[1]);
        out.insert(out.end(), chunk + 4, chunk + 8);
        out.insert(out.end(), chunk + 8 + part[0], chunk + 8 + part[0] + part[1]);
        out.insert(out.end(), chunk + 8 + length, chunk + 12 + length);
      }
    } else {
      out.insert(out.end(), chunk, chunk + 12 + length);
    }
    p += size_t(length) + 12;
  }
  out.insert(out.end(), data + p, data + size);
  return out;
}

// The generic properties of one stream; returns the opaque decoding.
void check_stream(const uint8_t* data, size_t size, decoded& opaque) {
  const auto n = int32_t(size);
  static constexpr uint8_t signature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
  const bool probe = vorn::png_probe_memory(data, n);
  require(probe == (size >= 9 && std::memcmp(data, signature, 8) == 0),
          "the probe accepts exactly the signature plus one byte");

  decoded clear;
  decode(data, n, false, true, 0, opaque);
  decode(data, n, false, false, 0, clear);
  require(same_image(opaque, clear) || (opaque.pixels != nullptr && clear.pixels != nullptr &&
                                        opaque.width == clear.width && opaque.height == clear.height),
          "the opaque switch never decides success or size");
  if (opaque.pixels != nullptr) {
    // Either every pixel keeps the image's own alpha (colour type 6), or
    // every pixel is opaque resp. fully clear with the same colour.
    const size_t count = opaque.count();
    const bool own_alpha = opaque.pixels[0] == clear.pixels[0];
    for (size_t i = 0; i < count; ++i) {
      const uint32_t a = opaque.pixels[i];
      const uint32_t b = clear.pixels[i];
      if (own_alpha) {
        require(a == b, "an image with its own alpha ignores the opaque switch");
      } else {
        require(b >> 24 == 0 && a == (b | 0xFF000000u), "the opaque switch sets alpha only");
      }
    }

    // Keying the colour of the first pixel clears exactly the pixels of
    // that colour, and never touches an image with its own alpha.
    const uint32_t key = opaque.pixels[0] & 0xFFFFFFu;
    decoded keyed;
    decode(data, n, true, true, key | 0xAB000000u, keyed);
    require(keyed.pixels != nullptr && keyed.width == opaque.width && keyed.height == opaque.height,
            "the colour key never decides success or size");
    for (size_t i = 0; i < count; ++i) {
      const uint32_t a = opaque.pixels[i];
      const uint32_t expected = own_alpha || (a & 0xFFFFFFu) != key ? a : a & 0xFFFFFFu;
      require(keyed.pixels[i] == expected, "the colour key clears alpha of the key colour only");
    }
  }

  decoded loaded;
  loaded.width = -7;
  loaded.height = -7;
  uint32_t* result =
      vorn::load_image_from_memory(data, n, loaded.width, loaded.height, loaded.pixels, 0);
  if (result == nullptr) {
    require(loaded.pixels == nullptr, "a failed load leaves the pixels null");
    require(!probe || opaque.pixels == nullptr, "the registry fails only where the decoder does");
  } else {
    check_result(result, loaded);
    require(probe && same_image(loaded, opaque), "the registry decodes exactly what the decoder does");
  }

  const std::vector<uint8_t> split = split_image_data(data, size);
  if (!split.empty()) {
    decoded again;
    decode(split.data(), int32_t(split.size()), false, true, 0, again);
    require(same_image(again, opaque), "image data split into more chunks decodes the same");
  }
}

// The supported colour type and depth pairs, with bits per pixel.
struct layout {
  uint8_t colour_type;
  uint8_t depth;
  unsigned bits;
};
constexpr layout layouts[] = {{0, 1, 1}, {0, 2, 2}, {0, 4, 4}, {0, 8, 8}, {2, 8, 24},
                              {3, 1, 1}, {3, 2, 2}, {3, 4, 4}, {3, 8, 8}, {6, 8, 32}};

void add_chunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& body) {
  put_be32(png, uint32_t(body.size()));
  const size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), body.begin(), body.end());
  put_be32(png, uint32_t(crc32(0, png.data() + start, uInt(png.size() - start))));
}

int paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Input read as: colour layout, width, height, palette size, then the raw
// rows (filter byte and samples), short input padded with zeros. The stream
// built from it is checked like any other, and its pixels must be the
// reference decoding of the rows.
void check_built_stream(const uint8_t* data, size_t size) {
  if (size < 4) return;
  const layout& f = layouts[data[0] % 10];
  const uint32_t w = 1 + data[1] % 40;
  const uint32_t h = 1 + data[2] % 12;
  const size_t palette_size = data[3];
  const size_t stride = (w * f.bits + 7) / 8;
  const size_t row_bytes = 1 + stride;
  std::vector<uint8_t> raw(h * row_bytes, 0);
  std::copy(data + 4, data + std::min(size, 4 + raw.size()), raw.begin());

  std::vector<uint8_t> palette(3 * palette_size);
  for (size_t i = 0; i < palette.size(); ++i) palette[i] = uint8_t(i * 37 + 11);

  std::vector<uint8_t> png = {137, 80, 78, 71, 13, 10, 26, 10};
  std::vector<uint8_t> ihdr;
  put_be32(ihdr, w);
  put_be32(ihdr, h);
  ihdr.insert(ihdr.end(), {f.depth, f.colour_type, 0, 0, 0});
  add_chunk(png, "IHDR", ihdr);
  if (f.colour_type == 3) add_chunk(png, "PLTE", palette);
  uLongf packed_size = compressBound(uLong(raw.size()));
  std::vector<uint8_t> packed(packed_size);
  require(compress(packed.data(), &packed_size, raw.data(), uLong(raw.size())) == Z_OK, "zlib compresses");
  packed.resize(packed_size);
  add_chunk(png, "IDAT", packed);
  add_chunk(png, "IEND", {});

  // The reference: undo each row's filter, then read each pixel's samples.
  std::vector<uint32_t> expected(size_t(w) * h);
  bool index_outside = false;
  std::vector<uint8_t> prev(stride, 0);
  const size_t unit = std::max<size_t>(1, f.bits / 8);
  for (uint32_t y = 0; y < h; ++y) {
    uint8_t* cur = raw.data() + y * row_bytes + 1;
    const uint8_t filter = cur[-1];
    for (size_t i = 0; i < stride; ++i) {
      const int left = i >= unit ? cur[i - unit] : 0;
      const int up = prev[i];
      const int up_left = i >= unit ? prev[i - unit] : 0;
      const int add = filter == 1 ? left : filter == 2 ? up : filter == 3 ? (left + up) / 2
                      : filter == 4 ? paeth(left, up, up_left) : 0;
      cur[i] = uint8_t(cur[i] + add);
    }
    for (uint32_t x = 0; x < w; ++x) {
      uint32_t argb = 0;
      if (f.depth < 8) {
        const size_t bit = size_t(x) * f.depth;
        const unsigned s = (cur[bit / 8] >> (8 - f.depth - bit % 8)) & ((1u << f.depth) - 1);
        if (f.colour_type == 0) {
          const unsigned v = s * (f.depth == 1 ? 255 : f.depth == 2 ? 64 : 16);
          argb = 0xFF000000u | v << 16 | v << 8 | v;
        } else if (s < palette_size) {
          argb = 0xFF000000u | uint32_t(palette[3 * s]) << 16 | uint32_t(palette[3 * s + 1]) << 8 |
                 palette[3 * s + 2];
        } else {
          index_outside = true;
        }
      } else {
        const uint8_t* p = cur + size_t(x) * (f.bits / 8);
        switch (f.colour_type) {
          case 0: argb = 0xFF000000u | uint32_t(p[0]) * 0x010101u; break;
          case 2: argb = 0xFF000000u | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]; break;
          case 3:
            if (p[0] < palette_size) {
              argb = 0xFF000000u | uint32_t(palette[3 * p[0]]) << 16 |
                     uint32_t(palette[3 * p[0] + 1]) << 8 | palette[3 * p[0] + 2];
            } else {
              index_outside = true;
            }
            break;
          default: argb = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        }
      }
      expected[size_t(y) * w + x] = argb;
    }
    prev.assign(cur, cur + stride);
  }

  decoded got;
  check_stream(png.data(), png.size(), got);
  if (index_outside) {
    require(got.pixels == nullptr, "a palette index past the palette fails the decode");
    return;
  }
  require(got.pixels != nullptr && uint32_t(got.width) == w && uint32_t(got.height) == h,
          "a well-formed stream decodes at its size");
  require(std::memcmp(got.pixels, expected.data(), expected.size() * 4) == 0,
          "the pixels are the reference decoding of the rows");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (size_t{1} << 24)) return 0;
  vorn::register_builtin_formats();
  decoded as_given;
  check_stream(data, size, as_given);
  check_built_stream(data, size);
  return 0;
}
