// The drawing primitives: single pixels, plain and anti-aliased lines,
// filled and outlined rectangles, circle outlines and the wrap-around copy of
// a whole image. Every operation takes its target image first and clips.
#pragma once

#include <cstdint>

#include "base/color.h"
#include "image/image.h"

namespace vorn {

// Which line drawer draw_line uses: 0 plain, 1 anti-aliased, anything else
// draws nothing. Toggled at run time by the line-mode key.
extern int32_t line_mode;

// The row of colour fill_rect copies into the image, row after row. It is
// filled only over the span being drawn, never past its end: a span wider
// than the buffer is copied in pieces.
constexpr int32_t row_buffer_size = 100000;
extern color_t row_buffer[row_buffer_size];

// Puts line_mode back to its start value (tests).
void reset_draw_state();

// Every operation but put_pixel draws nothing into a null image, one without
// pixel memory or one with a side of zero or less. Coordinates may be any
// int32 values, however far outside the image: sizes and offsets are worked
// out in 64 bits (128 where a product of two deltas is needed), nothing
// wraps around, and the work done stays bounded by the image's size.

// The rows [top, bottom) that a drawing call may write, for painting an
// image in bands: a call given a window draws exactly those of its pixels
// (or plots) that lie in the window's rows, the same as the call without
// one would there, and nothing elsewhere. Rows outside the image count for
// nothing; every_row is the whole image.
struct row_window {
  int64_t top;
  int64_t bottom;
};
constexpr row_window every_row{INT64_MIN, INT64_MAX};

// Stores colour at (x, y) with no test: the caller guarantees it is inside.
void put_pixel(typspr* img, int32_t x, int32_t y, color_t colour);

// Bresenham line, both ends included, x the major axis on a tie; pixels
// outside the image are skipped. After i major steps the minor offset is
// floor((2*S*i + L) / (2*L)) (L the major delta, S the minor delta), so the
// line starts at the first step that lands inside the image and stops after
// the last one: the pixels are exactly those of the step-by-step line, and
// only the steps inside the image are walked.
void line(typspr* img, int32_t x0, int32_t y0, int32_t x1, int32_t y1, color_t colour,
          row_window rows = every_row);

// Wu's anti-aliased line in 32-bit floats, y the major axis on a tie. Each
// plot mixes the colour in as round((1 - t) * old + t * c) per channel
// (evaluated in double, ties to even) and writes alpha 255. A plot lands
// when its linear index x + y * width lies in the image, so a plot left of
// column 0 appears on the last column of the row above. Nothing is drawn
// when both ends coincide.
// Bounded work: the interior loop runs only over major coordinates in
// [-aa_reach, size + aa_reach] (size the image's extent along the major
// axis), and within that plots only over the steps whose plots can land,
// found from the line's equation widened by a bound on the drift of the
// running minor coordinate; it stops after the last of them. Through the
// steps skipped before, the running coordinate is still advanced by repeated
// addition, so a line whose ends lie within aa_reach of the image gives
// bit-identical pixels. A line starting farther out starts its running
// coordinate at its value on the line, and one ending farther out is cut
// off: only such far-reaching lines can differ.
constexpr int64_t aa_reach = 1 << 16;
void aa_line(typspr* img, int32_t x0, int32_t y0, int32_t x1, int32_t y1, color_t colour,
             row_window rows = every_row);

// line or aa_line by line_mode.
void draw_line(typspr* img, int32_t x0, int32_t y0, int32_t x1, int32_t y1, color_t colour,
               row_window rows = every_row);

// Fills the rectangle with corners (x1, y1) and (x2, y2), both included,
// clipped to the image. The corners are not put in order: x2 < x1 or y2 < y1
// draws nothing.
void fill_rect(typspr* img, int32_t x1, int32_t y1, int32_t x2, int32_t y2, color_t colour);
// fill_rect from (x, y) to (x + w - 1, y + h - 1), the far corner taken in
// 64 bits, so a width or height of zero or less draws nothing.
void fill_box(typspr* img, int32_t x, int32_t y, int32_t w, int32_t h, color_t colour);

// One-pixel outline of a rectangle, corners in any order, each clamped into
// the image: a side outside the image is drawn on the image's border.
void frame_rect(typspr* img, int32_t x1, int32_t y1, int32_t x2, int32_t y2, color_t colour);
// frame_rect from (x, y) to (x + w - 1, y + h - 1), the far corner in 64 bits.
void frame_box(typspr* img, int32_t x, int32_t y, int32_t w, int32_t h, color_t colour);

// Midpoint circle outline of radius r around (cx, cy); a negative radius
// draws nothing, radius 0 one pixel. A point is stored only when
// 0 < px < screen_w and 0 < py < screen_h (never column 0 nor row 0), and
// also inside the image, so a circle on an image smaller than the screen
// cannot write past it.
// Bounded work, identical pixels: a circle whose bounding box misses the
// drawable area, or whose inner edge encloses all of it (every point of the
// outline lies at least r - 1 from the centre), is skipped at once. Otherwise
// only the steps where one of the eight mirrored points can land are walked:
// at step x >= 1 the outline's y is the largest y with
// 2x^2 + y^2 + (y - 1)^2 < 2r^2 while x <= y - 2, so the walk jumps to the
// next such step with its decision value recomputed, and walks step by step
// only near the end of the octant.
void circle(typspr* img, int32_t cx, int32_t cy, int32_t r, color_t colour);

// Copies source onto target shifted right by dx and down by dy with
// wrap-around: target(x, y) = source((x - dx) mod w, (y - dy) mod h). Does
// nothing unless both have pixel memory and the same size. Target and source
// may be the same image: it is then rotated in place.
void blit_wrapped(typspr* target, const typspr* source, int32_t dx, int32_t dy);

// Where a copy shifted by `shift` with wrap-around starts reading, along an
// axis of extent > 0 pixels: (-shift) mod extent, in [0, extent).
int64_t wrapped_start(int32_t shift, int64_t extent);

}  // namespace vorn
