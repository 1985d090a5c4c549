// The PNG format of the image registry: signature probe and decoder of an
// in-memory PNG stream into 32-bit pixels (0xAARRGGBB, rows from the top).
#pragma once

#include <cstdint>

namespace vorn {

// Largest image the decoder accepts: each side at most 65536 pixels and at
// most 2^26 pixels in all (256 MiB of output); bigger headers fail.
constexpr int64_t png_max_side = int64_t(1) << 16;
constexpr int64_t png_max_pixels = int64_t(1) << 26;

// True when data holds at least 9 bytes starting with the PNG signature.
bool png_probe_memory(const uint8_t* data, int32_t size);

// Decodes grey (depth 1, 2, 4, 8), truecolour 8, palette (1, 2, 4, 8) and
// truecolour with alpha 8. Alpha is 255 when `opaque`, else 0 (type 6 keeps
// its own); with `use_key`, pixels of other types whose colour equals `key`
// (0x00RRGGBB) get alpha 0. Returns the malloc'ed pixels, also stored in
// `pixels` with the size in width and height; on failure returns null and
// leaves pixels null and width and height 0. `reserved` is ignored.
uint32_t* png_decode_memory(const uint8_t* data, int32_t size, bool use_key, bool opaque,
                            uint32_t key, int32_t& width, int32_t& height, uint32_t*& pixels,
                            int32_t reserved);

}  // namespace vorn
