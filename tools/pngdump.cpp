// pngdump IN.png OUT.rgba: decodes IN through the game's image registry
// (opaque pixels, no colour key) and writes width x height little-endian
// 0xAARRGGBB values, rows from the top. Prints "W x H".
// Exit codes: 0 done, 1 reading, decoding or writing failed, 2 bad usage.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "image/registry.h"

namespace {

int fail(const char* what, const char* file, const char* reason) {
  std::fprintf(stderr, "pngdump: %s %s: %s\n", what, file, reason);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: pngdump IN.png OUT.rgba\n");
    return 2;
  }
  const char* in_name = argv[1];
  const char* out_name = argv[2];

  std::ifstream in(in_name, std::ios::binary);
  if (!in) return fail("cannot read", in_name, std::strerror(errno));
  const std::vector<uint8_t> data{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
  if (in.bad()) return fail("cannot read", in_name, "read error");
  if (data.size() > 0x7FFFFFFF) return fail("cannot decode", in_name, "file too large");

  vorn::register_builtin_formats();
  int32_t width = 0;
  int32_t height = 0;
  uint32_t* pixels = nullptr;
  if (vorn::load_image_from_memory(data.data(), int32_t(data.size()), width, height, pixels, 0) ==
      nullptr) {
    return fail("cannot decode", in_name, "not a PNG image the game can read");
  }

  std::vector<uint8_t> bytes(size_t(width) * size_t(height) * 4);
  for (size_t i = 0; i < size_t(width) * size_t(height); ++i) {
    const uint32_t c = pixels[i];
    for (int k = 0; k < 4; ++k) bytes[4 * i + k] = uint8_t(c >> (8 * k));
  }
  std::free(pixels);

  std::FILE* out = std::fopen(out_name, "wb");
  if (out == nullptr) return fail("cannot write", out_name, std::strerror(errno));
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  if (std::fclose(out) != 0 || !written)
    return fail("cannot write", out_name, std::strerror(errno));
  std::printf("%d x %d\n", width, height);
  return 0;
}
