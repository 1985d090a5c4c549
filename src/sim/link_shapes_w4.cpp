// The link shapes in four lanes (AVX2), compiled for that instruction set
// alone and called only on processors that have it: each lane repeats
// link_shape_at's operations in their order, without fused multiply-adds.
#include <immintrin.h>

#include "sim/link_shapes.h"

#define VORN_AVX2 __attribute__((target("avx2")))

namespace vorn {

namespace {

VORN_AVX2 inline __m256d select4(__m256d m, __m256d a, __m256d b) { return _mm256_blendv_pd(b, a, m); }

VORN_AVX2 inline __m256d abs4(__m256d v) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), v); }

VORN_AVX2 inline __m256d less4(__m256d a, __m256d b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }

// wrap_axis in four lanes, its branches in their order.
VORN_AVX2 inline __m256d wrap4(__m256d d, __m256d extent) {
  const __m256d ad = abs4(d);
  const __m256d below = _mm256_sub_pd(d, extent);
  const __m256d above = _mm256_add_pd(d, extent);
  const __m256d r = select4(less4(abs4(above), ad), above, d);
  return select4(less4(abs4(below), ad), below, r);
}

VORN_AVX2 void shapes_w4(link_ends in, size_t count, link_shape_rows out) {
  const __m256d ew = _mm256_set1_pd(static_cast<double>(world_w));
  const __m256d eh = _mm256_set1_pd(static_cast<double>(world_h));
  const __m256d tiny = _mm256_set1_pd(eps);
  const __m256d minus_tiny = _mm256_set1_pd(-eps);
  const __m256d minus_one = _mm256_set1_pd(-1.0);
  size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m256d rx = wrap4(_mm256_sub_pd(_mm256_loadu_pd(in.ax + i), _mm256_loadu_pd(in.bx + i)), ew);
    const __m256d ry = wrap4(_mm256_sub_pd(_mm256_loadu_pd(in.ay + i), _mm256_loadu_pd(in.by + i)), eh);
    const __m256d l = _mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(rx, rx), _mm256_mul_pd(ry, ry)));
    const __m256d short_vec = less4(abs4(l), tiny);
    const __m256d ux = select4(short_vec, rx, _mm256_div_pd(rx, l));
    const __m256d uy = select4(short_vec, ry, _mm256_div_pd(ry, l));
    const __m256d wx = _mm256_mul_pd(ux, minus_one);
    const __m256d wy = _mm256_mul_pd(uy, minus_one);
    const __m256d m = _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(ux, ux), _mm256_mul_pd(uy, uy)),
                                    _mm256_add_pd(_mm256_mul_pd(wx, wx), _mm256_mul_pd(wy, wy)));
    const __m256d near_zero = _mm256_and_pd(less4(m, tiny), _mm256_cmp_pd(m, minus_tiny, _CMP_GT_OQ));
    _mm256_storeu_pd(out.ux + i, ux);
    _mm256_storeu_pd(out.uy + i, uy);
    _mm256_storeu_pd(out.e + i, _mm256_sub_pd(l, _mm256_loadu_pd(in.rest + i)));
    _mm256_storeu_pd(out.m + i, select4(near_zero, tiny, m));
  }
  for (; i < count; ++i) link_shape_at(in, out, i);
}

}  // namespace

const link_shape_kernels link_shapes_w4{shapes_w4};

}  // namespace vorn
