// One picture of the world per frame: the scrolling grid, the links, the
// debug view, the station marker, the sparks, the beams and the minimap.
#pragma once

namespace vorn {

// Paints the world into `screen` in a fixed order, over the background;
// t (seconds) animates the station marker. Nothing is cleared first.
void draw_world(double dt, double t);

// Debug view: the pieces of the world's seam, in green.
void draw_world_frame();

}  // namespace vorn
