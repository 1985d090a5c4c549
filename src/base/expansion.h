// Four-double expansions: a value held as the exact sum of four doubles,
// about 200 bits, for the arctangent's rare careful path. Sums and products
// are formed exactly from two-sums and two-products, then distilled back to
// four terms; only the distillation rounds, far below the fourth term.
#pragma once

#include <cmath>

#include "base/dd.h"

namespace vorn::ddx {

struct xp {
  double v[4];
};

// Distils n terms (n <= 24) into four: each pass of two-sums, run from the
// smallest end, carries the sum of the rest into the next leading term. The
// total is kept exactly until the remainder after four terms is dropped.
inline xp distil(double* t, int n) {
  const int out = n < 4 ? n : 4;
  for (int k = 0; k < out; ++k) {
    for (int pass = 0; pass < 2; ++pass) {
      for (int i = n - 1; i > k; --i) {
        const dd s = two_sum(t[i - 1], t[i]);
        t[i - 1] = s.hi;
        t[i] = s.lo;
      }
    }
  }
  xp r{{0.0, 0.0, 0.0, 0.0}};
  for (int k = 0; k < out; ++k) r.v[k] = t[k];
  return r;
}

inline xp make_xp(double a) { return {{a, 0.0, 0.0, 0.0}}; }

inline xp add(const xp& a, const xp& b) {
  double t[8];
  for (int k = 0; k < 4; ++k) {
    t[2 * k] = a.v[k];
    t[2 * k + 1] = b.v[k];
  }
  return distil(t, 8);
}

inline xp neg(const xp& a) { return {{-a.v[0], -a.v[1], -a.v[2], -a.v[3]}}; }

inline xp mul(const xp& a, double b) {
  double t[8];
  for (int k = 0; k < 4; ++k) {
    const dd p = two_prod(a.v[k], b);
    t[2 * k] = p.hi;
    t[2 * k + 1] = p.lo;
  }
  return distil(t, 8);
}

// The products a_i b_j with i + j < 4 exactly, those with i + j = 4 rounded;
// the rest lie below 2^-260 of the product.
inline xp mul(const xp& a, const xp& b) {
  double t[24];
  int n = 0;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; i + j < 4; ++j) {
      const dd p = two_prod(a.v[i], b.v[j]);
      t[n++] = p.hi;
      t[n++] = p.lo;
    }
  }
  t[n++] = a.v[1] * b.v[3];
  t[n++] = a.v[2] * b.v[2];
  t[n++] = a.v[3] * b.v[1];
  return distil(t, n);
}

// a / b by long division: five quotient digits, each remainder exact up to
// the distillation.
inline xp div(const xp& a, const xp& b) {
  double q[5];
  xp r = a;
  for (int k = 0; k < 5; ++k) {
    q[k] = r.v[0] / b.v[0];
    r = add(r, neg(mul(b, q[k])));
  }
  return distil(q, 5);
}

// The double nearest the expansion's value, ties to even. The first two terms
// give the candidate and its exact rounding error; only when that error is
// exactly half the gap to the neighbouring double do the lower terms decide.
inline double nearest(const xp& a) {
  const dd s = two_sum(a.v[0], a.v[1]);
  const double tail = a.v[2] + a.v[3];
  if (s.lo == 0.0 || tail == 0.0) return s.hi;
  const double next = std::nextafter(s.hi, s.lo > 0 ? HUGE_VAL : -HUGE_VAL);
  if (2.0 * s.lo != next - s.hi) return s.hi;
  return (tail > 0) == (s.lo > 0) ? next : s.hi;
}

}  // namespace vorn::ddx
