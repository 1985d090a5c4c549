// The registry of image formats and the generic loader of in-memory images.
#pragma once

#include <cstdint>
#include <vector>

#include "image/image.h"

namespace vorn {

// Pixels of a decoded image are allocated with malloc and belong to the caller.
using probe_file_fn = bool (*)(const char* file_name);
using has_palette_fn = bool (*)(const char* file_name);
using load_file32_fn = uint32_t* (*)(const char* file_name, int32_t& width, int32_t& height);
using load_file8_fn = uint8_t* (*)(const char* file_name, int32_t& width, int32_t& height);
using probe_memory_fn = bool (*)(const uint8_t* data, int32_t size);
using decode_memory_fn = uint32_t* (*)(const uint8_t* data, int32_t size, bool use_key, bool opaque,
                                       uint32_t key, int32_t& width, int32_t& height,
                                       uint32_t*& pixels, int32_t reserved);

struct image_format {
  probe_file_fn probe_file;        // slot 1
  has_palette_fn has_palette;      // slot 2
  load_file32_fn load_file32;      // slot 3
  load_file8_fn load_file8;        // slot 4
  probe_memory_fn probe_memory;    // slot 5
  void* unused6;                   // slot 6, empty for every format
  decode_memory_fn decode_memory;  // slot 7
  void* unused8;                   // slot 8, empty for every format
};

// The registered formats, in registration order.
extern std::vector<image_format> image_formats;

void register_format(const image_format& format);
// Registers the built-in formats (BMP, then PNG) once; later calls do nothing.
void register_builtin_formats();
// Empties the registry, so that register_builtin_formats registers again.
void reset_image_formats();

// The first format whose memory probe accepts the data decodes it (opaque,
// no colour key). Null when data is null, no format accepts it, or the
// accepting format fails.
uint32_t* load_image_from_memory(const uint8_t* data, int32_t size, int32_t& width, int32_t& height,
                                 uint32_t*& pixels, int32_t reserved);
// The same, wrapped in a new image record; null on failure.
typspr* image_from_memory(const uint8_t* data, int32_t size, int32_t reserved);

}  // namespace vorn
