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

// For finite operands with |den| >= eps: true when num / den, rounded, is
// certainly below eps or above 1 + eps, found without dividing. A zero or
// an opposite sign gives a quotient of at most +0; |num| > 2 |den| gives one
// beyond 2 in magnitude, and rounding to nearest keeps it at or beyond 2.
// Anything else (and any infinity or NaN) is left to the division.
inline bool quotient_outside_unit(double num, double den) {
  if (!(std::isfinite(num) && std::isfinite(den))) return false;
  if (num == 0 || (num < 0) != (den < 0)) return true;
  return std::fabs(num) > 2 * std::fabs(den);
}

// Crossing point of segments p1-p2 and q1-q2. Collinear segments give the
// midpoint of p1-p2; crossings at p1 or q1 themselves (ua or ub below eps)
// do not count. On false, out is (0, 0).
// Inline: the impact and beam tests call it for every link in range, and
// the parts that depend on one segment alone are then found once.
inline bool seg_cross(vec2 p1, vec2 p2, vec2 q1, vec2 q2, vec2& out) {
  const double den = (q2.y - q1.y) * (p2.x - p1.x) - (q2.x - q1.x) * (p2.y - p1.y);
  const double na = (q2.x - q1.x) * (p1.y - q1.y) - (q2.y - q1.y) * (p1.x - q1.x);
  const double nb = (p2.x - p1.x) * (p1.y - q1.y) - (p2.y - p1.y) * (p1.x - q1.x);
  if (std::fabs(na) < eps && std::fabs(nb) < eps && std::fabs(den) < eps) {
    out = mid(p1, p2);
    return true;
  }
  if (std::fabs(den) < eps) {
    out = vec2{0, 0};
    return false;
  }
  // Most segments tested miss by far: settled here without the divisions.
  if (quotient_outside_unit(na, den) || quotient_outside_unit(nb, den)) {
    out = vec2{0, 0};
    return false;
  }
  const double ua = na / den;
  const double ub = nb / den;
  if (ua < eps || ua > 1 + eps || ub < eps || ub > 1 + eps) {
    out = vec2{0, 0};
    return false;
  }
  out = vec2{p1.x + ua * (p2.x - p1.x), p1.y + ua * (p2.y - p1.y)};
  return true;
}

}  // namespace vorn
