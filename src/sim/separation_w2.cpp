// The separation kernels in two lanes (SSE2, which every x86-64 has, and
// 32-bit x86 as this game is built for it): the row of one ship's terms
// against many and the element-wise sums; also the tail that the wider
// kernels finish their rows with.
#include "sim/separation.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace vorn {

namespace {

// m ? a : b, lane by lane (m all ones or all zeros per lane).
__m128d select(__m128d m, __m128d a, __m128d b) { return _mm_or_pd(_mm_and_pd(m, a), _mm_andnot_pd(m, b)); }

__m128d abs2(__m128d v) { return _mm_andnot_pd(_mm_set1_pd(-0.0), v); }

// wrap_axis in both lanes: d - extent when that is strictly shorter, else
// d + extent when that is, else d.
__m128d wrap2(__m128d d, __m128d extent) {
  const __m128d ad = abs2(d);
  const __m128d below = _mm_sub_pd(d, extent);
  const __m128d above = _mm_add_pd(d, extent);
  const __m128d r = select(_mm_cmplt_pd(abs2(above), ad), above, d);
  return select(_mm_cmplt_pd(abs2(below), ad), below, r);
}

void row_w2(vec2 ck, const double* xs, const double* ys, size_t count, double strength, vec2* out, vec2* back) {
  size_t j = 0;
  const __m128d cx = _mm_set1_pd(ck.x);
  const __m128d cy = _mm_set1_pd(ck.y);
  const __m128d ew = _mm_set1_pd(static_cast<double>(world_w));
  const __m128d eh = _mm_set1_pd(static_cast<double>(world_h));
  const __m128d tiny = _mm_set1_pd(eps);
  const __m128d s0 = _mm_set1_pd(strength);
  const __m128d zero = _mm_setzero_pd();
  const __m128d infinity = _mm_set1_pd(HUGE_VAL);
  const __m128d minus = _mm_set1_pd(-0.0);
  for (; j + 2 <= count; j += 2) {
    const __m128d rx = wrap2(_mm_sub_pd(cx, _mm_loadu_pd(xs + j)), ew);
    const __m128d ry = wrap2(_mm_sub_pd(cy, _mm_loadu_pd(ys + j)), eh);
    const __m128d l2 = _mm_add_pd(_mm_mul_pd(rx, rx), _mm_mul_pd(ry, ry));
    const __m128d l = _mm_sqrt_pd(l2);
    // norm: a vector shorter than eps stays as it is.
    const __m128d short_vec = _mm_cmplt_pd(abs2(l), tiny);
    const __m128d ux = select(short_vec, rx, _mm_div_pd(rx, l));
    const __m128d uy = select(short_vec, ry, _mm_div_pd(ry, l));
    const __m128d s = _mm_div_pd(s0, _mm_add_pd(l2, tiny));
    const __m128d tx = _mm_mul_pd(s, ux);
    const __m128d ty = _mm_mul_pd(s, uy);
    const __m128d t0 = _mm_unpacklo_pd(tx, ty);
    const __m128d t1 = _mm_unpackhi_pd(tx, ty);
    _mm_storeu_pd(&out[j].x, t0);
    _mm_storeu_pd(&out[j + 1].x, t1);
    // reversed_term's test, both components of both terms at once: non-zero
    // and finite (a NaN fails the second comparison).
    const __m128d nonzero = _mm_and_pd(_mm_cmpneq_pd(tx, zero), _mm_cmpneq_pd(ty, zero));
    const __m128d finite = _mm_and_pd(_mm_cmplt_pd(abs2(tx), infinity), _mm_cmplt_pd(abs2(ty), infinity));
    if (_mm_movemask_pd(_mm_and_pd(nonzero, finite)) == 3) {
      _mm_storeu_pd(&back[j].x, _mm_xor_pd(t0, minus));
      _mm_storeu_pd(&back[j + 1].x, _mm_xor_pd(t1, minus));
    } else {
      back[j] = reversed_term(out[j], vec2{xs[j], ys[j]}, ck, strength);
      back[j + 1] = reversed_term(out[j + 1], vec2{xs[j + 1], ys[j + 1]}, ck, strength);
    }
  }
  if (j < count) kernels_w1.row(ck, xs + j, ys + j, count - j, strength, out + j, back + j);
}

void add_each_w2(vec2* F, const vec2* terms, size_t count) {
  double* f = &F[0].x;
  const double* t = &terms[0].x;
  for (size_t i = 0; i < 2 * count; i += 2) _mm_storeu_pd(f + i, _mm_add_pd(_mm_loadu_pd(f + i), _mm_loadu_pd(t + i)));
}

}  // namespace

const separation_kernels kernels_w2{row_w2, add_each_w2};

}  // namespace vorn

#endif  // __SSE2__
