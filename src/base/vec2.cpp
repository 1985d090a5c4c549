// Vector helpers: lengths, normalisation, bearings and intersections.
#include "base/vec2.h"

#include <cmath>

#include "base/atan.h"
#include "base/rules_version.h"

namespace vorn {

namespace {
constexpr double deg_per_rad = 180.0 / 3.14159265358979323846;
// Rules 1 took the C library's arctangent, whose last bit differs between
// processors and library versions; demos of those rules replay with it.
double atan_deg(double v) { return (rules_version >= 2 ? atan_cr(v) : std::atan(v)) * deg_per_rad; }
}  // namespace

double dist(vec2 a, vec2 b) { return std::sqrt(dist2(a, b)); }

double bearing(double x, double y, double ox, double oy) {
  const double dx = x - ox;
  const double dy = y - oy;
  // Exact cases first; the arctangent is only taken with a non-zero divisor.
  if (dx == 0 && dy == 0) return 0;
  if (dx == 0) return dy > 0 ? 180 : 0;
  if (dy == 0) return dx < 0 ? 270 : 90;
  if (dx > 0 && dy < 0) return atan_deg(dx / -dy);
  if (dx > 0 && dy > 0) return 90 + atan_deg(dy / dx);
  if (dx < 0 && dy > 0) return 180 + atan_deg(-dx / dy);
  return 270 + atan_deg(dy / dx);
}

bool ray_circle(vec2 p1, vec2 p2, vec2 c, vec2& out, double r) {
  // Line/circle intersection in coordinates relative to the centre:
  // with D the cross product of the two points and dr the direction length,
  // the discriminant r^2 dr^2 - D^2 is positive exactly when the line cuts
  // the circle in two points.
  const vec2 d1 = sub(p1, c);
  const vec2 d2 = sub(p2, c);
  const double dx = d2.x - d1.x;
  const double dy = d2.y - d1.y;
  const double dr2 = dx * dx + dy * dy;
  const double D = d1.x * d2.y - d2.x * d1.y;
  const double disc = r * r * dr2 - D * D;
  if (disc < eps) return false;
  const double s = std::sqrt(disc);
  const double g = sign(dy);
  const vec2 A{(D * dy + g * dx * s) / dr2, (-D * dx + std::fabs(dy) * s) / dr2};
  const vec2 B{(D * dy - g * dx * s) / dr2, (-D * dx - std::fabs(dy) * s) / dr2};
  const vec2 dir = sub(d2, d1);
  auto behind = [&](vec2 q) { return dot(dir, sub(q, d1)) < 0; };
  vec2 taken;
  if (dist2(B, d1) > dist2(A, d1)) {
    taken = behind(A) ? B : A;
  } else {
    taken = behind(B) ? A : B;
  }
  if (behind(taken)) {
    out = taken;
    return false;
  }
  out = add(taken, c);
  return true;
}

}  // namespace vorn
