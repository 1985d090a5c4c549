// The instruction set the vector kernels run in: the widest the processor
// has, chosen once at start, or the one named by VORN_ISA
// (baseline, avx2, avx512). Every choice gives the same bits.
#pragma once

#include <string>

namespace vorn {

enum class isa_level { baseline, avx2, avx512 };

struct separation_kernels;
struct link_shape_kernels;
extern const separation_kernels* active_kernels;            // those of the selected set
extern const link_shape_kernels* active_link_shape_kernels;  // likewise

bool isa_supported(isa_level isa);
const char* isa_name(isa_level isa);
isa_level selected_isa();
// The widest set this processor has.
isa_level best_isa();
// Selects isa; false (and nothing changes) when the processor lacks it.
bool select_isa(isa_level isa);

// Start-up: forced is VORN_ISA's value, or null when it is not set. False
// with a one-line reason for an unknown name or a set this processor lacks.
bool select_isa_from(const char* forced, std::string& error);

// Back to the widest set this processor has.
void reset_isa();

}  // namespace vorn
