// The memory budget in a browser page: the most the page's memory may grow
// to (its wasm heap's ceiling).
#include <emscripten/heap.h>

#include "platform/memory.h"

namespace vorn {

namespace {

uint64_t budget_override = 0;

}  // namespace

uint64_t memory_budget() { return budget_override ? budget_override : uint64_t{emscripten_get_heap_max()}; }

void set_memory_budget(uint64_t bytes) { budget_override = bytes; }

}  // namespace vorn
