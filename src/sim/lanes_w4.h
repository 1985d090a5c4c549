// Lane helpers for the four-lane (AVX2) kernels, for files compiled for that
// instruction set alone: selections, magnitudes and the wrap of one axis,
// each the scalar operation in every lane.
#pragma once

#if defined(__x86_64__)

#include <immintrin.h>

#define VORN_AVX2 __attribute__((target("avx2")))

namespace vorn::lanes4 {

// m ? a : b, lane by lane (m all ones or all zeros per lane).
VORN_AVX2 inline __m256d select4(__m256d m, __m256d a, __m256d b) { return _mm256_blendv_pd(b, a, m); }

VORN_AVX2 inline __m256d abs4(__m256d v) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), v); }

// a < b, false for a NaN.
VORN_AVX2 inline __m256d less4(__m256d a, __m256d b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }

// wrap_axis in four lanes, its branches in their order.
VORN_AVX2 inline __m256d wrap4(__m256d d, __m256d extent) {
  const __m256d ad = abs4(d);
  const __m256d below = _mm256_sub_pd(d, extent);
  const __m256d above = _mm256_add_pd(d, extent);
  const __m256d r = select4(less4(abs4(above), ad), above, d);
  return select4(less4(abs4(below), ad), below, r);
}

}  // namespace vorn::lanes4

#endif  // __x86_64__
