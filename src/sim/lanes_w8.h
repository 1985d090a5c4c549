// Lane helpers for the eight-lane (AVX-512F) kernels, for files compiled for
// that instruction set alone: the comparison and the wrap of one axis, each
// the scalar operation in every lane.
#pragma once

#if defined(__x86_64__)

#include <immintrin.h>

#define VORN_AVX512 __attribute__((target("avx512f")))

namespace vorn::lanes8 {

// a < b, false for a NaN.
VORN_AVX512 inline __mmask8 less8(__m512d a, __m512d b) { return _mm512_cmp_pd_mask(a, b, _CMP_LT_OQ); }

// wrap_axis in eight lanes, its branches in their order.
VORN_AVX512 inline __m512d wrap8(__m512d d, __m512d extent) {
  const __m512d ad = _mm512_abs_pd(d);
  const __m512d below = _mm512_sub_pd(d, extent);
  const __m512d above = _mm512_add_pd(d, extent);
  const __m512d r = _mm512_mask_blend_pd(less8(_mm512_abs_pd(above), ad), d, above);
  return _mm512_mask_blend_pd(less8(_mm512_abs_pd(below), ad), r, below);
}

}  // namespace vorn::lanes8

#endif  // __x86_64__
