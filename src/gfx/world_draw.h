// One picture of the world per frame: the scrolling grid, the links, the
// debug view, the station marker, the sparks, the beams and the minimap.
#pragma once

#include <vector>

#include "base/vec2.h"

namespace vorn {

// Scratch of the world drawing, kept from frame to frame so that it
// allocates only when the world has grown.
struct world_draw_scratch {
  std::vector<ipoint_t> node_pixels;  // to_screen of every node's position, this frame
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
