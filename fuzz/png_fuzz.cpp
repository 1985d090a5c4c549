// Fuzz target of the PNG decoder and the image registry. Beyond "no crash,
// no leak" it checks that every decode reports a sane, self-consistent
// result, that the opaque and colour-key switches change only alpha, that
// the registry decodes exactly what the decoder does, and that splitting the
// image data into more chunks changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (size_t{1} << 24)) return 0;
  const auto n = int32_t(size);
  vorn::register_builtin_formats();

  static constexpr uint8_t signature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
  const bool probe = vorn::png_probe_memory(data, n);
  require(probe == (size >= 9 && std::memcmp(data, signature, 8) == 0),
          "the probe accepts exactly the signature plus one byte");

  decoded opaque, clear;
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
  if (!split.empty() && split.size() <= (size_t{1} << 24)) {
    decoded again;
    decode(split.data(), int32_t(split.size()), false, true, 0, again);
    require(same_image(again, opaque), "image data split into more chunks decodes the same");
  }
  return 0;
}
