// The separation kernels in four lanes (AVX2), compiled for that instruction
// set alone and called only on processors that have it: the same operations
// per lane as the scalar terms, no fused multiply-adds.
#if defined(__x86_64__)
#include "sim/lanes_w4.h"
#include "sim/separation.h"

namespace vorn {

namespace {

using lanes4::abs4;
using lanes4::less4;
using lanes4::select4;
using lanes4::wrap4;

VORN_AVX2 void row_w4(vec2 ck, const double* xs, const double* ys, size_t count, double strength, vec2* out,
                      vec2* back) {
  size_t j = 0;
  const __m256d cx = _mm256_set1_pd(ck.x);
  const __m256d cy = _mm256_set1_pd(ck.y);
  const __m256d ew = _mm256_set1_pd(static_cast<double>(world_w));
  const __m256d eh = _mm256_set1_pd(static_cast<double>(world_h));
  const __m256d tiny = _mm256_set1_pd(eps);
  const __m256d s0 = _mm256_set1_pd(strength);
  const __m256d zero = _mm256_setzero_pd();
  const __m256d infinity = _mm256_set1_pd(HUGE_VAL);
  const __m256d minus = _mm256_set1_pd(-0.0);
  for (; j + 4 <= count; j += 4) {
    const __m256d rx = wrap4(_mm256_sub_pd(cx, _mm256_loadu_pd(xs + j)), ew);
    const __m256d ry = wrap4(_mm256_sub_pd(cy, _mm256_loadu_pd(ys + j)), eh);
    const __m256d l2 = _mm256_add_pd(_mm256_mul_pd(rx, rx), _mm256_mul_pd(ry, ry));
    const __m256d l = _mm256_sqrt_pd(l2);
    const __m256d short_vec = less4(abs4(l), tiny);
    const __m256d ux = select4(short_vec, rx, _mm256_div_pd(rx, l));
    const __m256d uy = select4(short_vec, ry, _mm256_div_pd(ry, l));
    const __m256d s = _mm256_div_pd(s0, _mm256_add_pd(l2, tiny));
    const __m256d tx = _mm256_mul_pd(s, ux);
    const __m256d ty = _mm256_mul_pd(s, uy);
    // (x0 y0 x2 y2), (x1 y1 x3 y3) into (x0 y0 x1 y1), (x2 y2 x3 y3).
    const __m256d lo = _mm256_unpacklo_pd(tx, ty);
    const __m256d hi = _mm256_unpackhi_pd(tx, ty);
    const __m256d t0 = _mm256_permute2f128_pd(lo, hi, 0x20);
    const __m256d t1 = _mm256_permute2f128_pd(lo, hi, 0x31);
    _mm256_storeu_pd(&out[j].x, t0);
    _mm256_storeu_pd(&out[j + 2].x, t1);
    const __m256d nonzero = _mm256_and_pd(_mm256_cmp_pd(tx, zero, _CMP_NEQ_UQ), _mm256_cmp_pd(ty, zero, _CMP_NEQ_UQ));
    const __m256d finite = _mm256_and_pd(less4(abs4(tx), infinity), less4(abs4(ty), infinity));
    if (_mm256_movemask_pd(_mm256_and_pd(nonzero, finite)) == 15) {
      _mm256_storeu_pd(&back[j].x, _mm256_xor_pd(t0, minus));
      _mm256_storeu_pd(&back[j + 2].x, _mm256_xor_pd(t1, minus));
    } else {
      for (size_t i = j; i < j + 4; ++i) back[i] = reversed_term(out[i], vec2{xs[i], ys[i]}, ck, strength);
    }
  }
  if (j < count) kernels_w2.row(ck, xs + j, ys + j, count - j, strength, out + j, back + j);
}

VORN_AVX2 void add_each_w4(vec2* F, const vec2* terms, size_t count) {
  double* f = &F[0].x;
  const double* t = &terms[0].x;
  const size_t n = 2 * count;
  size_t i = 0;
  for (; i + 4 <= n; i += 4) _mm256_storeu_pd(f + i, _mm256_add_pd(_mm256_loadu_pd(f + i), _mm256_loadu_pd(t + i)));
  for (; i < n; ++i) f[i] += t[i];
}

}  // namespace

const separation_kernels kernels_w4{row_w4, add_each_w4};

}  // namespace vorn

#endif  // __x86_64__
