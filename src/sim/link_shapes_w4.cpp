// The link shapes in four lanes (AVX2), compiled for that instruction set
// alone and called only on processors that have it: each lane repeats
// link_shape_at's operations in their order, without fused multiply-adds.
#if defined(__x86_64__)
#include "sim/lanes_w4.h"
#include "sim/link_shapes.h"

namespace vorn {

namespace {

using lanes4::abs4;
using lanes4::less4;
using lanes4::select4;
using lanes4::wrap4;

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

#endif  // __x86_64__
