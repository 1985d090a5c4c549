// The instruction set the vector kernels run in: the widest the processor
// has, chosen once at start, or the one named by VORN_ISA. Which sets exist
// depends on the architecture the game is built for (x86-64: baseline,
// avx2, avx512; arm64: baseline, neon; everywhere else baseline). Every
// choice gives the same bits.
#pragma once

#include <span>
#include <string>

namespace vorn {

enum class isa_level { baseline, neon, avx2, avx512 };

struct separation_kernels;
struct link_shape_kernels;
extern const separation_kernels* active_kernels;            // those of the selected set
extern const link_shape_kernels* active_link_shape_kernels;  // likewise

// The sets this build has kernels for, narrowest first, whether or not the
// processor has them.
std::span<const isa_level> built_isas();
// Built, and the processor has it.
bool isa_supported(isa_level isa);
const char* isa_name(isa_level isa);
isa_level selected_isa();
// The widest set this processor has.
isa_level best_isa();
// Selects isa; false (and nothing changes) when the processor lacks it.
bool select_isa(isa_level isa);

// Start-up: forced is VORN_ISA's value, or null when it is not set. False
// with a one-line reason for an unknown name or a set this processor lacks;
// the reason lists the names this build knows.
bool select_isa_from(const char* forced, std::string& error);

// Back to the widest set this processor has.
void reset_isa();

}  // namespace vorn
