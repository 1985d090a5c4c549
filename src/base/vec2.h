// 2-D vector helpers on doubles: sums, lengths, bearings and the ray/circle
// and segment/segment intersections that the beams and impacts use.
// All functions are pure and read their inputs before writing any output.
#pragma once

#include <cmath>
#include <cstdint>

namespace vorn {

// The one tolerance shared by the vector helpers and the simulation.
constexpr double eps = 1e-05;

struct vec2 {
  double x = 0.0;
  double y = 0.0;
};

struct ipoint_t {
  int32_t x = 0;
  int32_t y = 0;
};

inline vec2 vec(double x, double y) { return vec2{x, y}; }
inline ipoint_t ipoint(int32_t x, int32_t y) { return ipoint_t{x, y}; }
inline vec2 add(vec2 a, vec2 b) { return vec2{a.x + b.x, a.y + b.y}; }
inline vec2 sub(vec2 a, vec2 b) { return vec2{a.x - b.x, a.y - b.y}; }
inline vec2 scale(vec2 v, double s) { return vec2{s * v.x, s * v.y}; }
inline vec2 mid(vec2 a, vec2 b) { return vec2{(a.x + b.x) / 2, (a.y + b.y) / 2}; }
inline double dot(vec2 a, vec2 b) { return a.x * b.x + a.y * b.y; }
inline double len2(vec2 v) { return v.x * v.x + v.y * v.y; }
inline double len(vec2 v) { return std::sqrt(v.x * v.x + v.y * v.y); }
inline double dist2(vec2 a, vec2 b) {
  const double dx = a.x - b.x, dy = a.y - b.y;
  return dx * dx + dy * dy;
}
double dist(vec2 a, vec2 b);

// v / len(v); a vector shorter than eps (strictly) is returned unchanged.
// Inline with len and the wrap helpers: the physics calls them in every
// inner loop, and inlining lets the processor overlap their square roots
// and divisions (the same operations in the same order, so the same bits).
inline vec2 norm(vec2 v) {
  const double l = len(v);
  if (std::fabs(l) < eps) return v;
  return vec2{v.x / l, v.y / l};
}

// Compass bearing in degrees, [0, 360), of (x, y) seen from (ox, oy):
// 0 is up the screen (-y), growing clockwise (90 is +x).
double bearing(double x, double y, double ox, double oy);
inline double bearing(vec2 v) { return bearing(v.x, v.y, 0.0, 0.0); }

// 1 for x >= 0 (zero included), else -1.
inline int32_t sign(double x) { return x >= 0 ? 1 : -1; }
inline int32_t imin(int32_t a, int32_t b) { return a < b ? a : b; }
// Inclusive on all four sides.
inline bool in_rect(int32_t x, int32_t y, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  return x1 <= x && x <= x2 && y1 <= y && y <= y2;
}

// Where the ray from p1 through p2 first meets the circle (c, r), ahead of p1.
// True with out set on a hit. A candidate behind p1 is written to out
// relative to c and false is returned; a miss leaves out untouched.
bool ray_circle(vec2 p1, vec2 p2, vec2 c, vec2& out, double r);

// Crossing point of segments p1-p2 and q1-q2. Collinear segments give the
// midpoint of p1-p2; crossings at p1 or q1 themselves (ua or ub below eps)
// do not count. On false, out is (0, 0).
bool seg_cross(vec2 p1, vec2 p2, vec2 q1, vec2 q2, vec2& out);

}  // namespace vorn
