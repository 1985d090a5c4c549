// The grid picture behind the world: white with soft blue lines 16 pixels
// apart across and 15 down, built once for the screen's size.
#pragma once

#include <cstdint>

#include "gfx/draw.h"
#include "image/image.h"

namespace vorn {

// The screen-sized grid picture behind the world, built by the first reset;
// null before it.
extern typspr* background;

// Makes `background` a w x h grid picture. An existing one of that size is
// kept as it is; one of another size is replaced.
void ensure_background(int32_t w, int32_t h);

// Paints the picture into target (of the same size) shifted by (dx, dy)
// with wrap-around, pixel for pixel as blit_wrapped(target, background, dx,
// dy) would; nothing when there is no picture or the sizes differ. It paints
// the rows as ensure_background drew them: the picture is not drawn on
// afterwards. Given a window, only the target's rows in it are painted.
void paint_background(typspr* target, int32_t dx, int32_t dy, row_window rows = every_row);

// Frees the picture; `background` becomes null.
void release_background();

}  // namespace vorn
