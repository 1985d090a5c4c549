// Choosing the vector kernels once from what the processor reports, or from
// the name VORN_ISA gives, among the sets built for this architecture.
#include "sim/isa.h"

#include <array>
#include <cstring>

#include "sim/link_shapes.h"
#include "sim/separation.h"

namespace vorn {

namespace {

struct isa_kernels {
  isa_level isa;
  const separation_kernels* separation;
  const link_shape_kernels* link_shapes;
};

// Narrowest first. 32-bit x86 is built with SSE2 (see CMakeLists.txt).
constexpr isa_kernels built[] = {
#if defined(__x86_64__)
    {isa_level::baseline, &kernels_w2, &link_shapes_w1},
    {isa_level::avx2, &kernels_w4, &link_shapes_w4},
    {isa_level::avx512, &kernels_w8, &link_shapes_w8},
#elif defined(__aarch64__)
    {isa_level::baseline, &kernels_w1, &link_shapes_w1},
    {isa_level::neon, &kernels_neon, &link_shapes_neon},
#elif defined(__SSE2__)
    {isa_level::baseline, &kernels_w2, &link_shapes_w1},
#else
    {isa_level::baseline, &kernels_w1, &link_shapes_w1},
#endif
};

constexpr auto built_levels = [] {
  std::array<isa_level, std::size(built)> out{};
  for (size_t i = 0; i < out.size(); ++i) out[i] = built[i].isa;
  return out;
}();

const isa_kernels* find_built(isa_level isa) {
  for (const isa_kernels& k : built) {
    if (k.isa == isa) return &k;
  }
  return nullptr;
}

bool processor_has(isa_level isa) {
#if defined(__x86_64__)
  __builtin_cpu_init();
  switch (isa) {
    case isa_level::avx2: return __builtin_cpu_supports("avx2");
    case isa_level::avx512: return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx2");
    default: return true;
  }
#elif defined(__aarch64__)
  return isa == isa_level::baseline || isa == isa_level::neon;  // Advanced SIMD is part of every arm64
#else
  return isa == isa_level::baseline;
#endif
}

isa_level selected = built[0].isa;

}  // namespace

const separation_kernels* active_kernels = built[0].separation;
const link_shape_kernels* active_link_shape_kernels = built[0].link_shapes;

std::span<const isa_level> built_isas() { return built_levels; }

bool isa_supported(isa_level isa) { return find_built(isa) != nullptr && processor_has(isa); }

const char* isa_name(isa_level isa) {
  switch (isa) {
    case isa_level::neon: return "neon";
    case isa_level::avx2: return "avx2";
    case isa_level::avx512: return "avx512";
    default: return "baseline";
  }
}

isa_level selected_isa() { return selected; }

isa_level best_isa() {
  isa_level best = built[0].isa;
  for (const isa_kernels& k : built) {
    if (processor_has(k.isa)) best = k.isa;
  }
  return best;
}

bool select_isa(isa_level isa) {
  const isa_kernels* k = find_built(isa);
  if (k == nullptr || !processor_has(isa)) return false;
  selected = isa;
  active_kernels = k->separation;
  active_link_shape_kernels = k->link_shapes;
  return true;
}

bool select_isa_from(const char* forced, std::string& error) {
  if (forced == nullptr) return select_isa(best_isa());
  std::string names;
  for (const isa_kernels& k : built) {
    if (std::strcmp(forced, isa_name(k.isa)) == 0) {
      if (select_isa(k.isa)) return true;
      error = std::string("VORN_ISA=") + forced + ": this processor does not have that instruction set";
      return false;
    }
    names += names.empty() ? "" : ", ";
    names += isa_name(k.isa);
  }
  error = std::string("VORN_ISA='") + forced + "' is not one of " + names;
  return false;
}

void reset_isa() { select_isa(best_isa()); }

}  // namespace vorn
