// Choosing the vector kernels once from what the processor reports
// (__builtin_cpu_supports), or from the name VORN_ISA gives.
#include "sim/isa.h"

#include <cstring>

#include "sim/link_shapes.h"
#include "sim/separation.h"

namespace vorn {

namespace {

isa_level selected = isa_level::baseline;

const separation_kernels* kernels_of(isa_level isa) {
  switch (isa) {
    case isa_level::avx2: return &kernels_w4;
    case isa_level::avx512: return &kernels_w8;
    default: return &kernels_w2;
  }
}

const link_shape_kernels* link_shape_kernels_of(isa_level isa) {
  switch (isa) {
    case isa_level::avx2: return &link_shapes_w4;
    case isa_level::avx512: return &link_shapes_w8;
    default: return &link_shapes_w1;
  }
}

}  // namespace

const separation_kernels* active_kernels = &kernels_w2;
const link_shape_kernels* active_link_shape_kernels = &link_shapes_w1;

bool isa_supported(isa_level isa) {
  __builtin_cpu_init();
  switch (isa) {
    case isa_level::avx2: return __builtin_cpu_supports("avx2");
    case isa_level::avx512: return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx2");
    default: return true;
  }
}

const char* isa_name(isa_level isa) {
  switch (isa) {
    case isa_level::avx2: return "avx2";
    case isa_level::avx512: return "avx512";
    default: return "baseline";
  }
}

isa_level selected_isa() { return selected; }

isa_level best_isa() {
  if (isa_supported(isa_level::avx512)) return isa_level::avx512;
  if (isa_supported(isa_level::avx2)) return isa_level::avx2;
  return isa_level::baseline;
}

bool select_isa(isa_level isa) {
  if (!isa_supported(isa)) return false;
  selected = isa;
  active_kernels = kernels_of(isa);
  active_link_shape_kernels = link_shape_kernels_of(isa);
  return true;
}

bool select_isa_from(const char* forced, std::string& error) {
  if (forced == nullptr) return select_isa(best_isa());
  for (const isa_level isa : {isa_level::baseline, isa_level::avx2, isa_level::avx512}) {
    if (std::strcmp(forced, isa_name(isa)) != 0) continue;
    if (select_isa(isa)) return true;
    error = std::string("VORN_ISA=") + forced + ": this processor does not have that instruction set";
    return false;
  }
  error = std::string("VORN_ISA='") + forced + "' is not one of baseline, avx2, avx512";
  return false;
}

void reset_isa() { select_isa(best_isa()); }

}  // namespace vorn
