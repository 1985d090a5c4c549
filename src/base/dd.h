// Double-double arithmetic: a value held as the unevaluated sum hi + lo of
// two doubles, about 106 bits, built from error-free transformations that use
// only + - x on doubles (Knuth's two-sum, Dekker's split and product).
// Every step is exact IEEE-754 arithmetic, so the results are the same bits
// on every machine; it needs -ffp-contract=off (a fused a*b+c would change
// the error terms) and SSE2 doubles, which x86-64 has.
#pragma once

namespace vorn::ddx {

struct dd {
  double hi;
  double lo;
};

// a + b = s + e exactly, for any a and b.
constexpr dd two_sum(double a, double b) {
  const double s = a + b;
  const double bb = s - a;
  const double e = (a - (s - bb)) + (b - bb);
  return {s, e};
}

// a + b = s + e exactly, when |a| >= |b| (or a is 0).
constexpr dd quick_two_sum(double a, double b) {
  const double s = a + b;
  return {s, b - (s - a)};
}

// a = hi + lo with both halves of 26 bits or fewer; |a| below 2^996.
constexpr dd split(double a) {
  const double c = 134217729.0 * a;  // 2^27 + 1
  const double hi = c - (c - a);
  return {hi, a - hi};
}

// a * b = p + e exactly, barring overflow and underflow.
constexpr dd two_prod(double a, double b) {
  const double p = a * b;
  const dd as = split(a);
  const dd bs = split(b);
  const double e = ((as.hi * bs.hi - p) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo;
  return {p, e};
}

constexpr dd add(dd a, dd b) {
  const dd s = two_sum(a.hi, b.hi);
  const dd t = two_sum(a.lo, b.lo);
  dd r = quick_two_sum(s.hi, s.lo + t.hi);
  return quick_two_sum(r.hi, r.lo + t.lo);
}

constexpr dd neg(dd a) { return {-a.hi, -a.lo}; }

constexpr dd mul(dd a, dd b) {
  const dd p = two_prod(a.hi, b.hi);
  return quick_two_sum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

constexpr dd mul(dd a, double b) {
  const dd p = two_prod(a.hi, b);
  return quick_two_sum(p.hi, p.lo + a.lo * b);
}

// a / b by long division: three quotient digits, each remainder exact.
constexpr dd div(dd a, dd b) {
  const double q1 = a.hi / b.hi;
  dd r = add(a, neg(mul(b, q1)));
  const double q2 = r.hi / b.hi;
  r = add(r, neg(mul(b, q2)));
  const double q3 = r.hi / b.hi;
  const dd q = quick_two_sum(q1, q2);
  return add(q, dd{q3, 0.0});
}

}  // namespace vorn::ddx
