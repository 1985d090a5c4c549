// World drawing.
#include "gfx/world_draw.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>

#include "base/rounding.h"
#include "base/view.h"
#include "base/workers.h"
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

// The grid and the links are drawn in bands of this many rows, shared out
// among the worker threads: first the grid of every band, while the game's
// own thread works out the links' strokes, then the strokes of every band.
// A pixel gets the same drawing in the same order whichever band or thread
// draws it, so the picture is the same for every thread count.
constexpr int32_t band_rows = 40;

// Every node's pixel, found once: most nodes end several links.
void map_nodes() {
  std::vector<ipoint_t>& pixel = world_draw_work.node_pixels;
  pixel.resize(nodes.size());
  for (size_t k = 0; k < nodes.size(); ++k) pixel[k] = to_screen(nodes[k].pos);
}

void gather_strokes() {
  map_nodes();
  const std::vector<ipoint_t>& pixel = world_draw_work.node_pixels;
  std::vector<link_stroke>& strokes = world_draw_work.strokes;
  strokes.clear();
  strokes.reserve(links.size());
  for (const linkrec& l : links) {
    if (!l.alive) continue;
    link_stroke s;
    if (l.burning) {
      // Red when it breaks, fading to white as its burning time runs out.
      s = {to_screen(l.end_a), to_screen(l.end_b), blend(l.color, white, static_cast<float>(l.burn_left / 2))};
    } else {
      // Its own colour when cold, orange at temperature 40.
      s = {pixel[l.a], pixel[l.b], blend(orange, l.color, static_cast<float>(l.temp / 40))};
    }
    if (same_side_of_seam(s.a, s.b)) strokes.push_back(s);
  }
}

// The bands [first, last] whose rows a stroke can write, none when first >
// last. A plain line keeps between the rows of its ends; the plots of an
// anti-aliased one spill over into the next rows and wrap at the sides, so
// it goes to every band.
struct band_span {
  int32_t first;
  int32_t last;
};

band_span bands_of(const link_stroke& s, int32_t bands, int32_t height) {
  if (line_mode != 0) return {0, bands - 1};
  const int64_t top = std::max<int64_t>(std::min(s.a.y, s.b.y), 0);
  const int64_t bottom = std::min<int64_t>(std::max(s.a.y, s.b.y), height - 1);
  if (top > bottom) return {1, 0};
  return {static_cast<int32_t>(top / band_rows), static_cast<int32_t>(bottom / band_rows)};
}

// band_strokes and band_first for `bands` bands: a counting sort, so each
// band's strokes keep their order.
void bin_strokes(int32_t bands) {
  const std::vector<link_stroke>& strokes = world_draw_work.strokes;
  std::vector<int32_t>& first = world_draw_work.band_first;
  std::vector<int32_t>& order = world_draw_work.band_strokes;
  first.assign(static_cast<size_t>(bands) + 1, 0);
  for (const link_stroke& s : strokes) {
    const band_span span = bands_of(s, bands, screen.height);
    for (int32_t k = span.first; k <= span.last; ++k) ++first[k];
  }
  // first[k] becomes where band k's strokes end, then, as they are placed
  // backwards, where they begin.
  int32_t end = 0;
  for (int32_t& n : first) n = end += n;
  // Room for every stroke in every band, so that strokes that grow longer
  // need none: the lists grow only with the links or the screen.
  order.reserve(world_draw_work.strokes.capacity() * static_cast<size_t>(bands));
  order.resize(static_cast<size_t>(end));
  for (int32_t i = static_cast<int32_t>(strokes.size()) - 1; i >= 0; --i) {
    const band_span span = bands_of(strokes[i], bands, screen.height);
    for (int32_t k = span.first; k <= span.last; ++k) order[--first[k]] = i;
  }
}

row_window band_window(int32_t k) {
  return {int64_t{k} * band_rows, std::min<int64_t>(int64_t{k + 1} * band_rows, screen.height)};
}

void draw_band_strokes(int32_t k) {
  const row_window rows = band_window(k);
  const std::vector<link_stroke>& strokes = world_draw_work.strokes;
  const std::vector<int32_t>& order = world_draw_work.band_strokes;
  const std::vector<int32_t>& first = world_draw_work.band_first;
  for (int32_t j = first[k]; j < first[k + 1]; ++j) {
    const link_stroke& s = strokes[order[j]];
    draw_line(&screen, s.a.x, s.a.y, s.b.x, s.b.y, s.colour, rows);
  }
}

// The bands are handed out one at a time to whichever thread asks next;
// no stroke is drawn before the strokes are ready and every band's grid is
// painted.
struct band_job {
  int32_t bands = 0;
  std::atomic<int32_t> next_grid{0};
  std::atomic<int32_t> grids_done{0};
  std::atomic<bool> strokes_ready{false};
  std::atomic<int32_t> next_strokes{0};
};

// Every spark on the screen as the pixel it sets, in pool order; worked
// out in the band job, drawn after the station marker.
void gather_dots() {
  std::vector<particle_dot>& dots = world_draw_work.dots;
  dots.clear();
  // Room for the whole pool: the list then grows only with the pool.
  dots.reserve(particles.size());
  const size_t count = particle_span();
  for (size_t i = 0; i < count; ++i) {
    const partrec& p = particles[i];
    if (!p.alive) continue;
    const ipoint_t s = to_screen(p.pos);
    if (s.x >= 0 && s.x <= screen_w - 1 && s.y >= 0 && s.y <= screen_h - 1)
      dots.push_back({s, blend(p.color, white, static_cast<float>(p.life))});
  }
}

void draw_bands_share(void* context, int32_t participant) {
  band_job& job = *static_cast<band_job*>(context);
  if (participant == thread_count() - 1) gather_dots();
  if (participant == 0) {
    gather_strokes();
    bin_strokes(job.bands);
    job.strokes_ready.store(true, std::memory_order_release);
  }
  for (int32_t k; (k = job.next_grid.fetch_add(1, std::memory_order_relaxed)) < job.bands;) {
    paint_background(&screen, cam_dx, cam_dy, band_window(k));
    job.grids_done.fetch_add(1, std::memory_order_release);
  }
  uint32_t spins = 0;
  while (!job.strokes_ready.load(std::memory_order_acquire) ||
         job.grids_done.load(std::memory_order_acquire) < job.bands) {
    spin_wait(spins);
  }
  for (int32_t k; (k = job.next_strokes.fetch_add(1, std::memory_order_relaxed)) < job.bands;) {
    draw_band_strokes(k);
  }
}

// The grid, then the links over it; the sparks' pixels are worked out
// meanwhile.
void draw_grid_and_links() {
  if (screen.height <= 0) {
    gather_dots();
    return;
  }
  band_job job;
  job.bands = (screen.height + band_rows - 1) / band_rows;
  run_on_all_threads(draw_bands_share, &job);
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
  for (const particle_dot& d : world_draw_work.dots) put_pixel(&screen, d.at.x, d.at.y, d.colour);
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

void reset_world_draw() {
  world_draw_work.node_pixels.clear();
  world_draw_work.strokes.clear();
  world_draw_work.band_strokes.clear();
  world_draw_work.band_first.clear();
  world_draw_work.dots.clear();
}

void draw_world(double dt, double t) {
  (void)dt;
  draw_grid_and_links();
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
