// Showing the screen image in a window N times larger: the scale a window
// can have on the desktop, and the copy that turns each pixel into an N x N
// block.
#pragma once

#include <cstdint>

namespace vorn {

constexpr int32_t max_window_scale = 8;

// The largest scale from `wanted` down to 2 at which a window of w x h
// pixels, times the scale, fits a desktop of area_w x area_h (each side at
// most the area's less 50, as for any window); 1 when none does. Without an
// area (have_area false) the wanted scale stays.
int32_t fitting_scale(int32_t w, int32_t h, int32_t wanted, bool have_area, int32_t area_w, int32_t area_h);

// Copies the w x h pixels of `from` into `to` as N x N blocks; `to` has rows
// of `to_pitch` pixels (at least w * n) and at least h * n rows.
void scale_pixels(const uint32_t* from, int32_t w, int32_t h, int32_t n, uint32_t* to, int64_t to_pitch);

}  // namespace vorn
