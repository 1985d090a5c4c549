// The enemy separation in rows: one ship's terms against all others computed
// two at a time, and the in-order sums of a row into the force sums of the
// ship's nodes.
#include "sim/separation.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vorn {

namespace {

#if defined(__SSE2__)

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

#endif

// F[0 .. N) += each term in order, the N sums kept in registers.
template <size_t N>
void add_block(vec2* F, const vec2* terms, size_t count) {
  vec2 f[N];
  for (size_t i = 0; i < N; ++i) f[i] = F[i];
  for (size_t j = 0; j < count; ++j) {
    const vec2 t = terms[j];
    for (size_t i = 0; i < N; ++i) f[i] = add(f[i], t);
  }
  for (size_t i = 0; i < N; ++i) F[i] = f[i];
}

}  // namespace

void separation_row(vec2 ck, const double* xs, const double* ys, size_t count, double strength, vec2* out,
                    vec2* back) {
  size_t j = 0;
#if defined(__SSE2__)
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
#endif
  for (; j < count; ++j) {
    const vec2 cj{xs[j], ys[j]};
    out[j] = separation_term(ck, cj, strength);
    back[j] = reversed_term(out[j], cj, ck, strength);
  }
}

void add_terms(vec2* F, size_t n, const vec2* terms, size_t count) {
  constexpr size_t widest = 8;
  size_t i = 0;
  for (; i + widest <= n; i += widest) add_block<widest>(F + i, terms, count);
  F += i;
  switch (n - i) {
    case 1: add_block<1>(F, terms, count); break;
    case 2: add_block<2>(F, terms, count); break;
    case 3: add_block<3>(F, terms, count); break;
    case 4: add_block<4>(F, terms, count); break;
    case 5: add_block<5>(F, terms, count); break;
    case 6: add_block<6>(F, terms, count); break;
    case 7: add_block<7>(F, terms, count); break;
    default: break;
  }
}

}  // namespace vorn
