// Showing the screen image larger than it is: the scale a window can have on
// the desktop, where the picture lies on a fullscreen desktop, the copy that
// turns each pixel into an N x N block, and pointer positions mapped back.
#pragma once

#include <cstdint>

namespace vorn {

constexpr int32_t max_window_scale = 8;

// The largest scale from `wanted` down to 2 at which a window of w x h
// pixels, times the scale, fits a desktop of area_w x area_h (each side at
// most the area's less 50, as for any window); 1 when none does. Without an
// area (have_area false) the wanted scale stays.
int32_t fitting_scale(int32_t w, int32_t h, int32_t wanted, bool have_area, int32_t area_w, int32_t area_h);

// Where the screen's picture lies on the video surface: each screen pixel
// shows as a scale x scale block, the top-left one at (x, y).
struct picture_place {
  int32_t scale = 1;
  int32_t x = 0;
  int32_t y = 0;
};

// The picture of a w x h screen on a desktop of desk_w x desk_h: the largest
// whole scale at which it fits, centred (the odd pixel left over goes to the
// right and the bottom). Scale 0 when the screen does not fit even at 1.
picture_place fullscreen_place(int32_t w, int32_t h, int32_t desk_w, int32_t desk_h);

// The screen coordinate (0 .. size-1) of surface coordinate v along one
// axis of a picture starting at `origin` with blocks of `scale`: positions
// before or beyond the picture give its first or last pixel.
int32_t picture_coord(int32_t v, int32_t origin, int32_t scale, int32_t size);

// Copies the w x h pixels of `from` into `to` as N x N blocks; `to` has rows
// of `to_pitch` pixels (at least w * n) and at least h * n rows.
void scale_pixels(const uint32_t* from, int32_t w, int32_t h, int32_t n, uint32_t* to, int64_t to_pitch);

}  // namespace vorn
