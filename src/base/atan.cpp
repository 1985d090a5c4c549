// The correctly rounded arctangent: the fast double-double path, the careful
// four-double path behind it, and the exact cases around them.
#include "base/atan.h"

#include <cmath>

#include "base/dd.h"
#include "base/expansion.h"

namespace vorn {

namespace atan_detail {

namespace {

using ddx::dd;

constexpr double tiny = 0x1p-27;
constexpr double huge = 0x1p55;

// (-1)^k / (2k + 1) for k = 1..3 as double-doubles.
constexpr dd coef1 = ddx::div(dd{-1.0, 0.0}, dd{3.0, 0.0});
constexpr dd coef2 = ddx::div(dd{1.0, 0.0}, dd{5.0, 0.0});
constexpr dd coef3 = ddx::div(dd{-1.0, 0.0}, dd{7.0, 0.0});

// The reduced argument t in [0, 1] (t = x, or 1/x above 1) and the nearest
// point i/64, found exactly (t * 64 + 0.5 would round up from just below a
// midway and break the exact subtraction t - c).
int nearest_point(double t) {
  const double s = t * 64.0;  // in [0, 64], so truncation is the floor
  const int f = static_cast<int>(s);
  return f + (s - f >= 0.5 ? 1 : 0);
}

dd atan_small(dd u) {
  const dd z = ddx::add(ddx::two_prod(u.hi, u.hi), {2.0 * u.hi * u.lo, 0.0});
  double h = 1.0 / 17.0;
  h = -1.0 / 15.0 + z.hi * h;
  h = 1.0 / 13.0 + z.hi * h;
  h = -1.0 / 11.0 + z.hi * h;
  h = 1.0 / 9.0 + z.hi * h;
  dd s = ddx::add(coef3, ddx::mul(z, h));
  s = ddx::add(coef2, ddx::mul(z, s));
  s = ddx::add(coef1, ddx::mul(z, s));
  // atan u = u + u z s
  return ddx::add(u, ddx::mul(ddx::mul(u, z), s));
}

ddx::xp point(int i) {
  return {{atan_points[i][0], atan_points[i][1], atan_points[i][2], atan_points[i][3]}};
}

}  // namespace

bool atan_fast(double x, double& out) {
  dd t{x, 0.0};
  if (x > 1.0) {
    const double q = 1.0 / x;
    const dd p = ddx::two_prod(q, x);
    t = ddx::quick_two_sum(q, ((1.0 - p.hi) - p.lo) / x);
  }
  const int i = nearest_point(t.hi);
  const double c = i / 64.0;
  const dd num = ddx::two_sum(t.hi - c, t.lo);
  const dd den = ddx::add({1.0, 0.0}, ddx::mul(t, c));
  dd r = atan_small(i == 0 ? t : ddx::div(num, den));
  if (i != 0) r = ddx::add({atan_points[i][0], atan_points[i][1]}, r);
  if (x > 1.0) r = ddx::add({half_pi[0], half_pi[1]}, ddx::neg(r));
  r = ddx::quick_two_sum(r.hi, r.lo);
  const double err = r.hi * 0x1p-95;
  const double below = r.hi + (r.lo - err);
  const double above = r.hi + (r.lo + err);
  out = below;
  return below == above;
}

double atan_careful(double x) {
  using ddx::xp;
  xp t = ddx::make_xp(x);
  if (x > 1.0) t = ddx::div(ddx::make_xp(1.0), t);
  const int i = nearest_point(t.v[0]);
  const double c = i / 64.0;
  const xp u = ddx::div(ddx::add(t, ddx::make_xp(-c)), ddx::add(ddx::make_xp(1.0), ddx::mul(t, c)));
  const xp z = ddx::mul(u, u);
  // sum over k = 0..14 of (-1)^k z^k / (2k + 1), by Horner's rule
  xp s = ddx::div(ddx::make_xp(1.0), ddx::make_xp(29.0));
  for (int k = 13; k >= 0; --k) {
    const double sign = k % 2 == 0 ? 1.0 : -1.0;
    s = ddx::add(ddx::div(ddx::make_xp(sign), ddx::make_xp(2.0 * k + 1.0)), ddx::mul(z, s));
  }
  xp r = ddx::add(point(i), ddx::mul(u, s));
  if (x > 1.0) r = ddx::add(xp{{half_pi[0], half_pi[1], half_pi[2], half_pi[3]}}, ddx::neg(r));
  return ddx::nearest(r);
}

}  // namespace atan_detail

double atan_cr(double x) {
  if (std::isnan(x)) return x + x;
  const double a = std::fabs(x);
  double r;
  if (a < atan_detail::tiny) {
    r = a;
  } else if (a > atan_detail::huge) {
    r = atan_detail::half_pi[0];
  } else if (!atan_detail::atan_fast(a, r)) {
    r = atan_detail::atan_careful(a);
  }
  return std::copysign(r, x);
}

}  // namespace vorn
