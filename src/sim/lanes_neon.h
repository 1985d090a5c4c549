// Lane helpers for the two-lane Advanced SIMD (NEON) kernels of arm64:
// selections, comparisons and the wrap of one axis, each the scalar
// operation in both lanes. Every arm64 processor has these instructions.
#pragma once

#if defined(__aarch64__)
#include <arm_neon.h>

namespace vorn::lanes_neon {

// m ? a : b, lane by lane (m all ones or all zeros per lane).
inline float64x2_t select2(uint64x2_t m, float64x2_t a, float64x2_t b) { return vbslq_f64(m, a, b); }

// a < b, false for a NaN.
inline uint64x2_t less2(float64x2_t a, float64x2_t b) { return vcltq_f64(a, b); }

inline bool all2(uint64x2_t m) { return (vgetq_lane_u64(m, 0) & vgetq_lane_u64(m, 1)) != 0; }

// wrap_axis in both lanes, its branches in their order.
inline float64x2_t wrap2(float64x2_t d, float64x2_t extent) {
  const float64x2_t ad = vabsq_f64(d);
  const float64x2_t below = vsubq_f64(d, extent);
  const float64x2_t above = vaddq_f64(d, extent);
  const float64x2_t r = select2(less2(vabsq_f64(above), ad), above, d);
  return select2(less2(vabsq_f64(below), ad), below, r);
}

}  // namespace vorn::lanes_neon

#endif  // __aarch64__
