// The BMP writer of screenshots: a 14-byte file header, a 40-byte info
// header and the pixel rows from the bottom row up, no padding, no palette.
#include "image/bmp.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/file_write.h"

namespace vorn {

namespace {

constexpr uint32_t bmp_header_size = 54;

void put16(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

void put32(uint8_t* p, uint32_t v) {
  put16(p, v);
  put16(p + 2, v >> 16);
}

void fill_header(uint8_t* h, int32_t width, int32_t height, uint32_t image_size) {
  std::memset(h, 0, bmp_header_size);
  h[0] = 'B';
  h[1] = 'M';
  put32(h + 2, bmp_header_size + image_size);
  put32(h + 10, bmp_header_size);
  put32(h + 14, 40);
  put32(h + 18, uint32_t(width));
  put32(h + 22, uint32_t(height));
  put16(h + 26, 1);
  put16(h + 28, 32);
  put32(h + 34, image_size);
  put32(h + 38, 1000);
  put32(h + 42, 1000);
}

bool fail(const std::string& name, const char* reason) {
  std::fprintf(stderr, "cannot write screenshot %s: %s\n", name.c_str(), reason);
  return false;
}

}  // namespace

bool save_bmp(const std::string& file_name, const uint32_t* pixels, int32_t width, int32_t height,
              std::string* written) {
  const std::string name =
      (!file_name.empty() && file_name[0] == '/') ? file_name.substr(1) : file_name;
  // The file size field has 32 bits: 54 + 4 * width * height must fit.
  const uint64_t image_size =
      uint64_t(width < 0 ? 0 : width) * uint64_t(height < 0 ? 0 : height) * 4;
  if (width < 0 || height < 0 || image_size > 0xFFFFFFFFull - bmp_header_size ||
      (image_size > 0 && pixels == nullptr)) {
    return fail(name, std::strerror(EINVAL));
  }

  const auto write = [&](std::FILE* f) {
    uint8_t header[bmp_header_size];
    fill_header(header, width, height, uint32_t(image_size));
    bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header;
    // Each pixel as the bytes blue, green, red, alpha, whatever the
    // machine's byte order.
    std::vector<uint8_t> bytes(size_t(width) * 4);
    for (int32_t y = height - 1; ok && y >= 0; --y) {
      const uint32_t* row = pixels + size_t(y) * size_t(width);
      for (size_t x = 0; x < size_t(width); ++x) put32(&bytes[4 * x], row[x]);
      ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    }
    return ok;
  };
  std::string chosen;
  if (const int err = create_new_file(name, write, chosen)) return fail(chosen, std::strerror(err));
  if (written) *written = chosen;
  return true;
}

}  // namespace vorn
