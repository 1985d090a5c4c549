// World drawing.
#include "gfx/world_draw.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/rounding.h"
#include "base/view.h"
#include "config/tunables.h"
#include "gfx/background.h"
#include "gfx/draw.h"
#include "world/geometry.h"
#include "world/ships.h"
#include "world/world.h"

namespace vorn {

world_draw_scratch world_draw_work;

namespace {

// A line whose ends map to opposite sides of the wrap seam would cross the
// whole screen; such a link is left out for the frame.
bool same_side_of_seam(ipoint_t a, ipoint_t b) {
  return std::abs(int64_t(a.x) - b.x) < world_w / 2 && std::abs(int64_t(a.y) - b.y) < world_h / 2;
}

void draw_background() { paint_background(&screen, cam_dx, cam_dy); }

// Every node's pixel, found once: most nodes end several links.
void map_nodes() {
  std::vector<ipoint_t>& pixel = world_draw_work.node_pixels;
  pixel.resize(nodes.size());
  for (size_t k = 0; k < nodes.size(); ++k) pixel[k] = to_screen(nodes[k].pos);
}

void draw_links() {
  map_nodes();
  const std::vector<ipoint_t>& pixel = world_draw_work.node_pixels;
  for (const linkrec& l : links) {
    if (!l.alive) continue;
    ipoint_t a, b;
    color_t c;
    if (l.burning) {
      // Red when it breaks, fading to white as its burning time runs out.
      a = to_screen(l.end_a);
      b = to_screen(l.end_b);
      c = blend(l.color, white, static_cast<float>(l.burn_left / 2));
    } else {
      // Its own colour when cold, orange at temperature 40.
      a = pixel[l.a];
      b = pixel[l.b];
      c = blend(orange, l.color, static_cast<float>(l.temp / 40));
    }
    if (same_side_of_seam(a, b)) draw_line(&screen, a.x, a.y, b.x, b.y, c);
  }
}

void draw_debug_nodes() {
  for (const noderec& n : nodes) {
    if (!n.alive) continue;
    const ipoint_t p = to_screen(n.pos);
    circle(&screen, p.x, p.y, 1, n.color);
  }
}

void draw_debug_ships() {
  for (const shprec& s : ships) {
    const ipoint_t p = to_screen(s.pos);
    circle(&screen, p.x, p.y, round_int(s.radius), blue);
  }
}

void draw_station_marker(double t) {
  if (ships.size() < 2) return;
  const ipoint_t p = to_screen(ships[1].pos);
  const color_t c = blend(yellow, red, static_cast<float>(std::fabs(std::sin(t))));
  for (int i = 0; i < 5; ++i) circle(&screen, p.x, p.y, round_int(10 * std::fabs(std::sin(i + t))), c);
}

void draw_particles() {
  const size_t count = particle_span();
  for (size_t i = 0; i < count; ++i) {
    const partrec& p = particles[i];
    if (!p.alive) continue;
    const ipoint_t s = to_screen(p.pos);
    if (s.x >= 0 && s.x <= screen_w - 1 && s.y >= 0 && s.y <= screen_h - 1)
      put_pixel(&screen, s.x, s.y, blend(p.color, white, static_cast<float>(p.life)));
  }
}

void draw_beam(vec2 from, vec2 to, color_t c) {
  const ipoint_t a = to_screen(from);
  const ipoint_t b = to_screen(to);
  draw_line(&screen, a.x, a.y, b.x, b.y, c);
}

// The player's nose beam, the enemies' nose beams and the station guns that
// hit something this substep.
void draw_beams() {
  if (!ships.empty() && ships[0].firing && nodes.size() > 2) draw_beam(nodes[2].pos, ships[0].aim, blue);
  for (size_t i = 2; i < ships.size(); ++i) {
    const shprec& s = ships[i];
    if (s.firing && s.nodes.size() > 4) draw_beam(nodes[s.nodes[4]].pos, s.aim, red);
  }
  if (ships.size() < 2 || !ships[1].firing) return;
  const shprec& station = ships[1];
  for (size_t g = 0; g < station.guns.size(); ++g) {
    if (station.gun_fire[g]) draw_beam(nodes[station.guns[g]].pos, station.gun_aim[g], red);
  }
}

// The whole world in a box in the bottom-right corner: x in [-W, W] onto
// x0 .. x0 + 100 and y in [-H, H] onto y0 .. y0 + mh.
void draw_minimap() {
  const int32_t w = screen_w, h = screen_h;
  if (w <= 0 || h <= 0) return;
  const int32_t mh = round_int(static_cast<double>(int64_t(h) * 100) / w);
  const int32_t x0 = w - 105;
  const int32_t y0 = h - mh - 5;
  fill_box(&screen, x0, y0, 103, mh + 3, white);
  frame_box(&screen, x0, y0, 103, mh + 3, black);
  for (const shprec& s : ships) {
    if (s.nalive < 3) continue;
    const int32_t sx = round_pixel(s.pos.x);
    const int32_t sy = round_pixel(s.pos.y);
    const int32_t cx = round_pixel(50.0 / w * sx) + x0 + 50;
    const int32_t cy = round_pixel((mh / 2.0) / h * sy) + mh / 2 + y0;
    circle(&screen, cx, cy, round_int(50.0 / w * s.radius), blue);
  }
}

}  // namespace

void reset_world_draw() { world_draw_work.node_pixels.clear(); }

void draw_world(double dt, double t) {
  (void)dt;
  draw_background();
  draw_links();
  if (debug) {
    draw_debug_nodes();
    draw_debug_ships();
  }
  if (!victory) draw_station_marker(t);
  draw_particles();
  draw_beams();
  if (debug) draw_world_frame();
  draw_minimap();
}

void draw_world_frame() {
  const int32_t hw = world_w / 2, hh = world_h / 2;
  const double right = std::min(hw, screen_w - 1);
  auto seam = [](vec2 a, vec2 b) {
    const ipoint_t p = to_screen(a);
    const ipoint_t q = to_screen(b);
    line(&screen, p.x, p.y, q.x, q.y, green);
  };
  seam(vec(-hw, 0), vec(-hw, hh));
  seam(vec(hw, 0), vec(hw, hh));
  seam(vec(0, hh), vec(right, hh));
  seam(vec(0, -hh), vec(right, -hh));
}

}  // namespace vorn
