// The link shapes in two lanes of Advanced SIMD (NEON, every arm64
// processor): each lane repeats link_shape_at's operations in their order,
// without fused multiply-adds.
#include "sim/link_shapes.h"

#if defined(__aarch64__)
#include "sim/lanes_neon.h"

namespace vorn {

namespace {

using lanes_neon::less2;
using lanes_neon::select2;
using lanes_neon::wrap2;

void shapes_neon(link_ends in, size_t count, link_shape_rows out) {
  const float64x2_t ew = vdupq_n_f64(static_cast<double>(world_w));
  const float64x2_t eh = vdupq_n_f64(static_cast<double>(world_h));
  const float64x2_t tiny = vdupq_n_f64(eps);
  const float64x2_t minus_tiny = vdupq_n_f64(-eps);
  const float64x2_t minus_one = vdupq_n_f64(-1.0);
  size_t i = 0;
  for (; i + 2 <= count; i += 2) {
    const float64x2_t rx = wrap2(vsubq_f64(vld1q_f64(in.ax + i), vld1q_f64(in.bx + i)), ew);
    const float64x2_t ry = wrap2(vsubq_f64(vld1q_f64(in.ay + i), vld1q_f64(in.by + i)), eh);
    const float64x2_t l = vsqrtq_f64(vaddq_f64(vmulq_f64(rx, rx), vmulq_f64(ry, ry)));
    const uint64x2_t short_vec = less2(vabsq_f64(l), tiny);
    const float64x2_t ux = select2(short_vec, rx, vdivq_f64(rx, l));
    const float64x2_t uy = select2(short_vec, ry, vdivq_f64(ry, l));
    const float64x2_t wx = vmulq_f64(ux, minus_one);
    const float64x2_t wy = vmulq_f64(uy, minus_one);
    const float64x2_t m = vaddq_f64(vaddq_f64(vmulq_f64(ux, ux), vmulq_f64(uy, uy)),
                                    vaddq_f64(vmulq_f64(wx, wx), vmulq_f64(wy, wy)));
    const uint64x2_t near_zero = vandq_u64(less2(m, tiny), vcgtq_f64(m, minus_tiny));
    vst1q_f64(out.ux + i, ux);
    vst1q_f64(out.uy + i, uy);
    vst1q_f64(out.e + i, vsubq_f64(l, vld1q_f64(in.rest + i)));
    vst1q_f64(out.m + i, select2(near_zero, tiny, m));
  }
  for (; i < count; ++i) link_shape_at(in, out, i);
}

}  // namespace

const link_shape_kernels link_shapes_neon{shapes_neon};

}  // namespace vorn

#endif  // __aarch64__
