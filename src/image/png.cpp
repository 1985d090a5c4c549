// The PNG decoder: chunk walk, inflate of the concatenated image data,
// scanline filter reconstruction and conversion to 32-bit pixels.
// Interlacing is not supported: the interlace byte is never read, so an
// interlaced stream decodes as if its passes were plain rows.
#include "image/png.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#define ZLIB_CONST
#include <zlib.h>

namespace vorn {

namespace {

constexpr uint8_t png_signature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

struct free_deleter {
  void operator()(void* p) const { std::free(p); }
};
using byte_buffer = std::unique_ptr<uint8_t[], free_deleter>;

byte_buffer alloc_bytes(size_t n) {
  return byte_buffer(static_cast<uint8_t*>(std::malloc(n > 0 ? n : 1)));
}

// Palette entries in pixel byte order: blue, green, red.
using pngpaltyp = std::vector<std::array<uint8_t, 3>>;

struct png_header {
  bool seen = false;
  uint32_t width = 0;
  uint32_t height = 0;
  uint8_t depth = 0;
  uint8_t colour_type = 0;
};

struct data_span {
  const uint8_t* data;
  uint32_t length;
};

// A supported (colour type, depth) pair: bits per pixel give the stride,
// `unit` is the filter's byte distance to the left neighbour.
struct png_format {
  uint8_t colour_type;
  uint8_t depth;
  uint8_t bits;
  uint8_t unit;
};

constexpr png_format png_formats[] = {
    {0, 1, 1, 1}, {0, 2, 2, 1}, {0, 4, 4, 1}, {0, 8, 8, 1}, {2, 8, 24, 3},
    {3, 1, 1, 1}, {3, 2, 2, 1}, {3, 4, 4, 1}, {3, 8, 8, 1}, {6, 8, 32, 4},
};

const png_format* find_format(uint8_t colour_type, uint8_t depth) {
  for (const png_format& f : png_formats) {
    if (f.colour_type == colour_type && f.depth == depth) return &f;
  }
  return nullptr;
}

uint32_t read_be32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// Walks the chunks after the signature until fewer than 5 bytes remain.
// Every chunk, from its length field to its CRC, must lie inside the data
// (so 5 to 11 stray bytes at the end refuse the stream too), and an IHDR
// must hold its 13 bytes; otherwise the stream is refused.
bool walk_chunks(const uint8_t* data, int64_t size, png_header& header,
                 std::vector<data_span>& idats, pngpaltyp& palette) {
  int64_t p = 8;
  while (p < size - 4) {
    const uint32_t length = read_be32(data + p);
    if (length > size - p - 12) return false;
    const uint8_t* type = data + p + 4;
    const uint8_t* body = data + p + 8;
    if (std::memcmp(type, "IHDR", 4) == 0) {
      if (length < 13) return false;
      header.seen = true;
      header.width = read_be32(body);
      header.height = read_be32(body + 4);
      header.depth = body[8];
      header.colour_type = body[9];
    } else if (std::memcmp(type, "IDAT", 4) == 0) {
      idats.push_back({body, length});
    } else if (std::memcmp(type, "PLTE", 4) == 0) {
      palette.assign(length / 3, {});
      for (size_t i = 0; i < palette.size(); ++i) {
        palette[i] = {body[3 * i + 2], body[3 * i + 1], body[3 * i]};
      }
    }
    p += int64_t(length) + 12;
  }
  return true;
}

// Inflates the concatenated image data into out[0 .. out_size). True only
// when zlib reports no error and the whole buffer was delivered.
bool inflate_image_data(const std::vector<data_span>& idats, uint8_t* out, size_t out_size) {
  size_t total = 0;
  for (const data_span& s : idats) total += s.length;
  byte_buffer joined = alloc_bytes(total);
  // Only a machine out of memory fails here (and below where buffers are
  // taken); no test can make malloc fail under the sanitizers, so coverage
  // does not count these returns.
  if (!joined) return false;  // GCOVR_EXCL_LINE
  size_t at = 0;
  for (const data_span& s : idats) {
    std::memcpy(joined.get() + at, s.data, s.length);
    at += s.length;
  }

  z_stream zs;
  std::memset(&zs, 0, sizeof zs);
  // zlib fails to start only when it cannot allocate its state; inflateEnd
  // is safe on a stream whose start failed.
  if (inflateInit(&zs) != Z_OK || inflateReset(&zs) != Z_OK) {  // GCOVR_EXCL_BR_LINE
    inflateEnd(&zs);  // GCOVR_EXCL_LINE
    return false;     // GCOVR_EXCL_LINE
  }
  zs.next_in = joined.get();
  zs.avail_in = uInt(total);
  zs.next_out = out;
  zs.avail_out = uInt(out_size);
  const int rc = inflate(&zs, Z_PARTIAL_FLUSH);
  const bool complete = (rc == Z_OK || rc == Z_STREAM_END) && zs.avail_out == 0;
  joined.reset();
  inflateEnd(&zs);
  return complete;
}

int paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a);
  const int pb = std::abs(p - b);
  const int pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  if (pb <= pc) return b;
  return c;
}

// Undoes the row's filter in place; bytes left of the row start count as 0
// and a filter type above 4 leaves the row as it is.
void unfilter_row(uint8_t* cur, const uint8_t* prev, size_t n, size_t unit, uint8_t filter) {
  const size_t lead = unit < n ? unit : n;
  switch (filter) {
    case 1:
      for (size_t i = unit; i < n; ++i) cur[i] = uint8_t(cur[i] + cur[i - unit]);
      break;
    case 2:
      for (size_t i = 0; i < n; ++i) cur[i] = uint8_t(cur[i] + prev[i]);
      break;
    case 3:
      for (size_t i = 0; i < lead; ++i) cur[i] = uint8_t(cur[i] + prev[i] / 2);
      for (size_t i = unit; i < n; ++i) cur[i] = uint8_t(cur[i] + (cur[i - unit] + prev[i]) / 2);
      break;
    case 4:
      for (size_t i = 0; i < lead; ++i) cur[i] = uint8_t(cur[i] + prev[i]);
      for (size_t i = unit; i < n; ++i) {
        cur[i] = uint8_t(cur[i] + paeth(cur[i - unit], prev[i], prev[i - unit]));
      }
      break;
    default:
      break;
  }
}

// Sample x of a row of `depth`-bit samples packed from the high end of each byte.
unsigned sample_at(const uint8_t* row, size_t x, unsigned depth) {
  if (depth == 8) return row[x];
  const size_t bit = x * depth;
  return (row[bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
}

struct row_converter {
  const png_header& header;
  const pngpaltyp& palette;
  uint32_t alpha;  // 0xFF000000 or 0
  bool use_key;
  uint32_t key;  // 0x00RRGGBB

  uint32_t keyed(uint32_t rgb) const { return (use_key && rgb == key) ? rgb : (rgb | alpha); }

  // Converts one reconstructed row; false on a palette index past the palette.
  bool operator()(const uint8_t* row, uint32_t* out) const {
    const size_t w = header.width;
    switch (header.colour_type) {
      case 0: {
        // Depths 2 and 4 scale by 64 and 16, so their brightest grey stays below 255.
        const unsigned scale = header.depth == 1   ? 255
                               : header.depth == 2 ? 64
                               : header.depth == 4 ? 16
                                                   : 1;
        for (size_t x = 0; x < w; ++x) {
          const uint32_t v = sample_at(row, x, header.depth) * scale;
          out[x] = keyed(v << 16 | v << 8 | v);
        }
        return true;
      }
      case 2:
        for (size_t x = 0; x < w; ++x) {
          const uint8_t* s = row + 3 * x;
          out[x] = keyed(uint32_t(s[0]) << 16 | uint32_t(s[1]) << 8 | s[2]);
        }
        return true;
      case 3:
        for (size_t x = 0; x < w; ++x) {
          const unsigned index = sample_at(row, x, header.depth);
          if (index >= palette.size()) return false;
          const auto& e = palette[index];
          out[x] = keyed(uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0]);
        }
        return true;
      default:  // 6: the image's own alpha, never keyed
        for (size_t x = 0; x < w; ++x) {
          const uint8_t* s = row + 4 * x;
          out[x] = uint32_t(s[3]) << 24 | uint32_t(s[0]) << 16 | uint32_t(s[1]) << 8 | s[2];
        }
        return true;
    }
  }
};

}  // namespace

bool png_probe_memory(const uint8_t* data, int32_t size) {
  return data != nullptr && size >= 9 && std::memcmp(data, png_signature, 8) == 0;
}

uint32_t* png_decode_memory(const uint8_t* data, int32_t size, bool use_key, bool opaque,
                            uint32_t key, int32_t& width, int32_t& height, uint32_t*& pixels,
                            int32_t /*reserved*/) {
  width = 0;
  height = 0;
  pixels = nullptr;
  if (data == nullptr || size < 8) return nullptr;

  png_header header;
  std::vector<data_span> idats;
  pngpaltyp palette;
  if (!walk_chunks(data, size, header, idats, palette) || !header.seen) return nullptr;
  const png_format* format = find_format(header.colour_type, header.depth);
  if (format == nullptr) return nullptr;
  const int64_t w = header.width;
  const int64_t h = header.height;
  if (w == 0 || h == 0 || w > png_max_side || h > png_max_side || w * h > png_max_pixels) {
    return nullptr;
  }

  // Each row is one filter byte followed by `stride` bytes of samples.
  const size_t stride = size_t((w * format->bits + 7) / 8);
  const size_t row_bytes = 1 + stride;
  byte_buffer raw = alloc_bytes(size_t(h) * row_bytes);
  byte_buffer zero_row = alloc_bytes(stride);
  if (!raw || !zero_row) return nullptr;  // GCOVR_EXCL_LINE: out of memory
  std::memset(zero_row.get(), 0, stride);
  if (!inflate_image_data(idats, raw.get(), size_t(h) * row_bytes)) return nullptr;

  auto* out = static_cast<uint32_t*>(std::malloc(size_t(w * h) * 4));
  if (out == nullptr) return nullptr;  // GCOVR_EXCL_LINE: out of memory
  const row_converter convert{header, palette, opaque ? 0xFF000000u : 0u, use_key, key & 0xFFFFFF};
  const uint8_t* prev = zero_row.get();
  for (int64_t y = 0; y < h; ++y) {
    uint8_t* row = raw.get() + size_t(y) * row_bytes;
    uint8_t* cur = row + 1;
    unfilter_row(cur, prev, stride, format->unit, row[0]);
    if (!convert(cur, out + size_t(y * w))) {
      std::free(out);
      return nullptr;
    }
    prev = cur;
  }

  width = int32_t(w);
  height = int32_t(h);
  pixels = out;
  return out;
}

}  // namespace vorn
