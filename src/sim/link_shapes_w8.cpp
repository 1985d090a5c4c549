// The link shapes in eight lanes (AVX-512F), compiled for that instruction
// set alone and called only on processors that have it: each lane repeats
// link_shape_at's operations in their order, without fused multiply-adds.
#if defined(__x86_64__)
#include "sim/lanes_w8.h"
#include "sim/link_shapes.h"

namespace vorn {

namespace {

using lanes8::less8;
using lanes8::wrap8;

VORN_AVX512 void shapes_w8(link_ends in, size_t count, link_shape_rows out) {
  const __m512d ew = _mm512_set1_pd(static_cast<double>(world_w));
  const __m512d eh = _mm512_set1_pd(static_cast<double>(world_h));
  const __m512d tiny = _mm512_set1_pd(eps);
  const __m512d minus_tiny = _mm512_set1_pd(-eps);
  const __m512d minus_one = _mm512_set1_pd(-1.0);
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m512d rx = wrap8(_mm512_sub_pd(_mm512_loadu_pd(in.ax + i), _mm512_loadu_pd(in.bx + i)), ew);
    const __m512d ry = wrap8(_mm512_sub_pd(_mm512_loadu_pd(in.ay + i), _mm512_loadu_pd(in.by + i)), eh);
    const __m512d l = _mm512_maskz_sqrt_pd(0xff, _mm512_add_pd(_mm512_mul_pd(rx, rx), _mm512_mul_pd(ry, ry)));
    const __mmask8 short_vec = less8(_mm512_abs_pd(l), tiny);
    const __m512d ux = _mm512_mask_blend_pd(short_vec, _mm512_div_pd(rx, l), rx);
    const __m512d uy = _mm512_mask_blend_pd(short_vec, _mm512_div_pd(ry, l), ry);
    const __m512d wx = _mm512_mul_pd(ux, minus_one);
    const __m512d wy = _mm512_mul_pd(uy, minus_one);
    const __m512d m = _mm512_add_pd(_mm512_add_pd(_mm512_mul_pd(ux, ux), _mm512_mul_pd(uy, uy)),
                                    _mm512_add_pd(_mm512_mul_pd(wx, wx), _mm512_mul_pd(wy, wy)));
    const __mmask8 near_zero = less8(m, tiny) & _mm512_cmp_pd_mask(m, minus_tiny, _CMP_GT_OQ);
    _mm512_storeu_pd(out.ux + i, ux);
    _mm512_storeu_pd(out.uy + i, uy);
    _mm512_storeu_pd(out.e + i, _mm512_sub_pd(l, _mm512_loadu_pd(in.rest + i)));
    _mm512_storeu_pd(out.m + i, _mm512_mask_blend_pd(near_zero, m, tiny));
  }
  for (; i < count; ++i) link_shape_at(in, out, i);
}

}  // namespace

const link_shape_kernels link_shapes_w8{shapes_w8};

}  // namespace vorn

#endif  // __x86_64__
