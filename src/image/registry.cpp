// The registry of image formats and the generic loader of in-memory images:
// the first registered format whose memory probe accepts the data decodes it.
#include "image/registry.h"

#include "image/png.h"

namespace vorn {

std::vector<image_format> image_formats;

namespace {
bool builtin_registered = false;
}  // namespace

void register_format(const image_format& format) { image_formats.push_back(format); }

void register_builtin_formats() {
  if (builtin_registered) return;
  builtin_registered = true;
  // BMP is only ever written (screenshots), so its record has no operations
  // and in particular cannot claim data in memory.
  register_format(image_format{});
  image_format png{};
  png.probe_memory = png_probe_memory;
  png.decode_memory = png_decode_memory;
  register_format(png);
}

void reset_image_formats() {
  image_formats.clear();
  builtin_registered = false;
}

uint32_t* load_image_from_memory(const uint8_t* data, int32_t size, int32_t& width, int32_t& height,
                                 uint32_t*& pixels, int32_t reserved) {
  pixels = nullptr;
  if (data == nullptr) return nullptr;
  for (const image_format& f : image_formats) {
    if (f.probe_memory != nullptr && f.probe_memory(data, size)) {
      if (f.decode_memory == nullptr) return nullptr;
      return f.decode_memory(data, size, false, true, 0, width, height, pixels, reserved);
    }
  }
  return nullptr;
}

typspr* image_from_memory(const uint8_t* data, int32_t size, int32_t reserved) {
  int32_t width = 0;
  int32_t height = 0;
  uint32_t* pixels = nullptr;
  if (load_image_from_memory(data, size, width, height, pixels, reserved) == nullptr)
    return nullptr;
  return new_image(pixels, width, height);
}

}  // namespace vorn
