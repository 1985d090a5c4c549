// The separation between enemy ships: the repulsion that every enemy ship's
// centre feels from every other's, in a scalar form for one pair and a
// row form for one ship against all others, bit for bit the same.
#pragma once

#include <cmath>
#include <cstddef>

#include "world/geometry.h"
#include "world/vec2.h"

namespace vorn {

// The push of the ship at ck away from the ship at cm:
// norm(r) * (strength / (len2(r) + eps)) with r = wrap_diff(ck, cm). Its
// denominator is never 0 (len2 is at least 0, and eps is added).
inline vec2 separation_term(vec2 ck, vec2 cm, double strength) {
  const vec2 r = wrap_diff(ck, cm);
  return scale(norm(r), strength / (len2(r) + eps));
}

// For j < count, with cj = (xs[j], ys[j]): out[j] = separation_term(ck, cj,
// strength) and back[j] = reversed_term(out[j], cj, ck, strength), two at a
// time in the processor's paired double lanes (the same operations in the
// same order per lane, so the same bits).
void separation_row(vec2 ck, const double* xs, const double* ys, size_t count, double strength, vec2* out,
                    vec2* back);

// The term of the ship at cm from the ship at ck, given t, the term of ck
// from cm. Whenever both components of t are non-zero and finite it is
// exactly -t: every difference changes sign exactly, the wrap takes the
// mirrored branch and lengths are equal. A zero component may come from a
// zero difference, which is +0 either way round, and the sign of a NaN is
// not the negation's; those terms are computed afresh.
inline vec2 reversed_term(vec2 t, vec2 cm, vec2 ck, double strength) {
  if (t.x != 0 && t.y != 0 && std::isfinite(t.x) && std::isfinite(t.y)) return vec2{-t.x, -t.y};
  return separation_term(cm, ck, strength);
}

// F[i] += terms[0], then terms[1], ... for each i < n: each sum in order, n
// sums side by side so that their additions overlap.
void add_terms(vec2* F, size_t n, const vec2* terms, size_t count);

}  // namespace vorn
