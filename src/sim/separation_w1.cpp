// The separation kernels one pair at a time, in plain C++: the kernels of
// processors without vector kernels of their own, and the reference that
// every wider kernel's lanes repeat.
#include "sim/separation.h"

namespace vorn {

namespace {

void row_w1(vec2 ck, const double* xs, const double* ys, size_t count, double strength, vec2* out, vec2* back) {
  for (size_t j = 0; j < count; ++j) {
    const vec2 cj{xs[j], ys[j]};
    out[j] = separation_term(ck, cj, strength);
    back[j] = reversed_term(out[j], cj, ck, strength);
  }
}

void add_each_w1(vec2* F, const vec2* terms, size_t count) {
  for (size_t i = 0; i < count; ++i) F[i] = add(F[i], terms[i]);
}

}  // namespace

const separation_kernels kernels_w1{row_w1, add_each_w1};

}  // namespace vorn
