// One picture of the world per frame: the scrolling grid, the links, the
// debug view, the station marker, the sparks, the beams and the minimap.
#pragma once

#include <vector>

#include "base/color.h"
#include "base/vec2.h"

namespace vorn {

// A link as this frame draws it: its ends' pixels and its colour.
struct link_stroke {
  ipoint_t a;
  ipoint_t b;
  color_t colour;
};

// A spark as this frame draws it: its pixel, on the screen, and its colour.
struct particle_dot {
  ipoint_t at;
  color_t colour;
};

// Scratch of the world drawing, kept from frame to frame so that it
// allocates only when the world has grown.
struct world_draw_scratch {
  std::vector<ipoint_t> node_pixels;   // to_screen of every node's position, this frame
  std::vector<link_stroke> strokes;    // the links drawn this frame, in link order
  // The strokes that can reach each band of rows, in link order: band k's
  // are band_strokes[band_first[k] .. band_first[k + 1]).
  std::vector<int32_t> band_strokes;
  std::vector<int32_t> band_first;
  std::vector<particle_dot> dots;      // the sparks drawn this frame, in pool order
};
extern world_draw_scratch world_draw_work;

// The scratch emptied (its capacity kept).
void reset_world_draw();

// Paints the world into `screen` in a fixed order, over the background;
// t (seconds) animates the station marker. Nothing is cleared first.
void draw_world(double dt, double t);

// Debug view: the pieces of the world's seam, in green.
void draw_world_frame();

}  // namespace vorn
