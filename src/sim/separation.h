// The separation between enemy ships: the repulsion that every enemy ship's
// centre feels from every other's, one pair at a time, a row of one ship
// against many in vector lanes, and every ship's in-order sum over a crowd.
#pragma once

#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/vec2.h"
#include "world/geometry.h"

namespace vorn {

// The push of the ship at ck away from the ship at cm:
// norm(r) * (strength / (len2(r) + eps)) with r = wrap_diff(ck, cm). Its
// denominator is never 0 (len2 is at least 0, and eps is added).
inline vec2 separation_term(vec2 ck, vec2 cm, double strength) {
  const vec2 r = wrap_diff(ck, cm);
  return scale(norm(r), strength / (len2(r) + eps));
}

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

// One width of vector kernels. row: for j < count, with cj = (xs[j], ys[j]),
// out[j] = separation_term(ck, cj, strength) and back[j] =
// reversed_term(out[j], cj, ck, strength), several j at a time in vector
// lanes (each lane does the scalar operations in their order, so the same
// bits). add_each: F[j] += terms[j] for j < count, one addition per sum.
struct separation_kernels {
  void (*row)(vec2 ck, const double* xs, const double* ys, size_t count, double strength, vec2* out, vec2* back);
  void (*add_each)(vec2* F, const vec2* terms, size_t count);
};
extern const separation_kernels kernels_w1;  // one pair at a time, every machine
#if defined(__SSE2__)
extern const separation_kernels kernels_w2;  // SSE2, two lanes (every x86-64)
#endif
#if defined(__aarch64__)
extern const separation_kernels kernels_neon;  // Advanced SIMD, two lanes (every arm64)
#endif
#if defined(__x86_64__)
extern const separation_kernels kernels_w4;  // AVX2, four lanes
extern const separation_kernels kernels_w8;  // AVX-512F, eight lanes
#endif

// The row in the kernels of the selected instruction set (sim/isa.h).
void separation_row(vec2 ck, const double* xs, const double* ys, size_t count, double strength, vec2* out,
                    vec2* back);

// F[i] += terms[0], then terms[1], ... for each i < n: each sum in order, n
// sums side by side so that their additions overlap.
void add_terms(vec2* F, size_t n, const vec2* terms, size_t count);

// What add_separation keeps from substep to substep, so that it allocates
// only when the crowd has grown: the centres, the sums, the wavefront's
// counters and each thread's tile of terms.
struct separation_scratch {
  std::vector<double> centre_x;
  std::vector<double> centre_y;
  std::vector<vec2> sums;
  size_t steps = 0;                                // counters held below
  std::unique_ptr<std::atomic<int32_t>[]> taken;   // per wavefront step: tiles claimed
  std::unique_ptr<std::atomic<int32_t>[]> done;    // and tiles finished
  std::vector<std::vector<vec2>> tile;             // per thread: one tile's terms
  std::vector<std::vector<vec2>> back;             // per thread: one row's reversed terms
};

// Ships in one block of the wavefront; below crowd_threads enemies every
// block runs on the calling thread alone.
constexpr size_t separation_block = 64;
constexpr size_t crowd_threads = 256;

// For every e < s.centre_x.size(): s.sums[e] += separation_term(ce, cm,
// strength) for every m != e in ascending m, with c = (centre_x, centre_y);
// the same bits on every thread count.
void add_separation(separation_scratch& s, double strength);

}  // namespace vorn
