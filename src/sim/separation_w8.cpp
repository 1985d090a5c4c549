// The separation kernels in eight lanes (AVX-512F), compiled for that
// instruction set alone and called only on processors that have it: the same
// operations per lane as the scalar terms, no fused multiply-adds.
#if defined(__x86_64__)
#include "sim/lanes_w8.h"
#include "sim/separation.h"

namespace vorn {

namespace {

using lanes8::less8;
using lanes8::wrap8;

VORN_AVX512 inline __m512d negate8(__m512d v) {
  return _mm512_castsi512_pd(_mm512_xor_si512(_mm512_castpd_si512(v), _mm512_set1_epi64(INT64_MIN)));
}

VORN_AVX512 void row_w8(vec2 ck, const double* xs, const double* ys, size_t count, double strength, vec2* out,
                        vec2* back) {
  size_t j = 0;
  const __m512d cx = _mm512_set1_pd(ck.x);
  const __m512d cy = _mm512_set1_pd(ck.y);
  const __m512d ew = _mm512_set1_pd(static_cast<double>(world_w));
  const __m512d eh = _mm512_set1_pd(static_cast<double>(world_h));
  const __m512d tiny = _mm512_set1_pd(eps);
  const __m512d s0 = _mm512_set1_pd(strength);
  const __m512d zero = _mm512_setzero_pd();
  const __m512d infinity = _mm512_set1_pd(HUGE_VAL);
  // Interleaving x and y lanes into (x, y) pairs: the first and second half.
  const __m512i first = _mm512_set_epi64(11, 3, 10, 2, 9, 1, 8, 0);
  const __m512i second = _mm512_set_epi64(15, 7, 14, 6, 13, 5, 12, 4);
  for (; j + 8 <= count; j += 8) {
    const __m512d rx = wrap8(_mm512_sub_pd(cx, _mm512_loadu_pd(xs + j)), ew);
    const __m512d ry = wrap8(_mm512_sub_pd(cy, _mm512_loadu_pd(ys + j)), eh);
    const __m512d l2 = _mm512_add_pd(_mm512_mul_pd(rx, rx), _mm512_mul_pd(ry, ry));
    const __m512d l = _mm512_maskz_sqrt_pd(0xff, l2);  // all lanes (the unmasked form trips a GCC warning)
    const __mmask8 short_vec = less8(_mm512_abs_pd(l), tiny);
    const __m512d ux = _mm512_mask_blend_pd(short_vec, _mm512_div_pd(rx, l), rx);
    const __m512d uy = _mm512_mask_blend_pd(short_vec, _mm512_div_pd(ry, l), ry);
    const __m512d s = _mm512_div_pd(s0, _mm512_add_pd(l2, tiny));
    const __m512d tx = _mm512_mul_pd(s, ux);
    const __m512d ty = _mm512_mul_pd(s, uy);
    const __m512d t0 = _mm512_permutex2var_pd(tx, first, ty);
    const __m512d t1 = _mm512_permutex2var_pd(tx, second, ty);
    _mm512_storeu_pd(&out[j].x, t0);
    _mm512_storeu_pd(&out[j + 4].x, t1);
    const __mmask8 nonzero = _mm512_cmp_pd_mask(tx, zero, _CMP_NEQ_UQ) & _mm512_cmp_pd_mask(ty, zero, _CMP_NEQ_UQ);
    const __mmask8 finite = less8(_mm512_abs_pd(tx), infinity) & less8(_mm512_abs_pd(ty), infinity);
    if ((nonzero & finite) == 0xff) {
      _mm512_storeu_pd(&back[j].x, negate8(t0));
      _mm512_storeu_pd(&back[j + 4].x, negate8(t1));
    } else {
      for (size_t i = j; i < j + 8; ++i) back[i] = reversed_term(out[i], vec2{xs[i], ys[i]}, ck, strength);
    }
  }
  if (j < count) kernels_w4.row(ck, xs + j, ys + j, count - j, strength, out + j, back + j);
}

VORN_AVX512 void add_each_w8(vec2* F, const vec2* terms, size_t count) {
  double* f = &F[0].x;
  const double* t = &terms[0].x;
  const size_t n = 2 * count;
  size_t i = 0;
  for (; i + 8 <= n; i += 8) _mm512_storeu_pd(f + i, _mm512_add_pd(_mm512_loadu_pd(f + i), _mm512_loadu_pd(t + i)));
  for (; i < n; ++i) f[i] += t[i];
}

}  // namespace

const separation_kernels kernels_w8{row_w8, add_each_w8};

}  // namespace vorn

#endif  // __x86_64__
