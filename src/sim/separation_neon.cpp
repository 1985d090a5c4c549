// The separation kernels in two lanes of Advanced SIMD (NEON, every arm64
// processor): the same operations per lane as the scalar terms, in their
// order, no fused multiply-adds.
#include "sim/separation.h"

#if defined(__aarch64__)
#include "sim/lanes_neon.h"

namespace vorn {

namespace {

using lanes_neon::all2;
using lanes_neon::less2;
using lanes_neon::select2;
using lanes_neon::wrap2;

void row_neon(vec2 ck, const double* xs, const double* ys, size_t count, double strength, vec2* out, vec2* back) {
  size_t j = 0;
  const float64x2_t cx = vdupq_n_f64(ck.x);
  const float64x2_t cy = vdupq_n_f64(ck.y);
  const float64x2_t ew = vdupq_n_f64(static_cast<double>(world_w));
  const float64x2_t eh = vdupq_n_f64(static_cast<double>(world_h));
  const float64x2_t tiny = vdupq_n_f64(eps);
  const float64x2_t s0 = vdupq_n_f64(strength);
  const float64x2_t infinity = vdupq_n_f64(HUGE_VAL);
  for (; j + 2 <= count; j += 2) {
    const float64x2_t rx = wrap2(vsubq_f64(cx, vld1q_f64(xs + j)), ew);
    const float64x2_t ry = wrap2(vsubq_f64(cy, vld1q_f64(ys + j)), eh);
    const float64x2_t l2 = vaddq_f64(vmulq_f64(rx, rx), vmulq_f64(ry, ry));
    const float64x2_t l = vsqrtq_f64(l2);
    // norm: a vector shorter than eps stays as it is.
    const uint64x2_t short_vec = less2(vabsq_f64(l), tiny);
    const float64x2_t ux = select2(short_vec, rx, vdivq_f64(rx, l));
    const float64x2_t uy = select2(short_vec, ry, vdivq_f64(ry, l));
    const float64x2_t s = vdivq_f64(s0, vaddq_f64(l2, tiny));
    const float64x2x2_t t{{vmulq_f64(s, ux), vmulq_f64(s, uy)}};
    vst2q_f64(&out[j].x, t);  // (x0, y0, x1, y1)
    // reversed_term's test, both components of both terms at once: non-zero
    // (a comparison with zero that fails) and finite (a NaN fails).
    const uint64x2_t zero_x = vceqzq_f64(t.val[0]);
    const uint64x2_t zero_y = vceqzq_f64(t.val[1]);
    const uint64x2_t finite = vandq_u64(less2(vabsq_f64(t.val[0]), infinity), less2(vabsq_f64(t.val[1]), infinity));
    if (all2(vbicq_u64(vbicq_u64(finite, zero_x), zero_y))) {
      const float64x2x2_t minus{{vnegq_f64(t.val[0]), vnegq_f64(t.val[1])}};
      vst2q_f64(&back[j].x, minus);
    } else {
      back[j] = reversed_term(out[j], vec2{xs[j], ys[j]}, ck, strength);
      back[j + 1] = reversed_term(out[j + 1], vec2{xs[j + 1], ys[j + 1]}, ck, strength);
    }
  }
  if (j < count) kernels_w1.row(ck, xs + j, ys + j, count - j, strength, out + j, back + j);
}

void add_each_neon(vec2* F, const vec2* terms, size_t count) {
  double* f = &F[0].x;
  const double* t = &terms[0].x;
  for (size_t i = 0; i < 2 * count; i += 2) vst1q_f64(f + i, vaddq_f64(vld1q_f64(f + i), vld1q_f64(t + i)));
}

}  // namespace

const separation_kernels kernels_neon{row_neon, add_each_neon};

}  // namespace vorn

#endif  // __aarch64__
