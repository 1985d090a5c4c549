// The memory budget on Linux: sysinfo for the physical memory, getrlimit for
// the limits set on the process (ulimit -v, ulimit -d).
#include "platform/memory.h"

#include <sys/resource.h>
#include <sys/sysinfo.h>

#include <algorithm>
#include <cstdint>

namespace vorn {

namespace {

uint64_t budget_override = 0;

uint64_t limit_of(int resource) {
  rlimit r{};
  if (getrlimit(resource, &r) != 0 || r.rlim_cur == RLIM_INFINITY) return UINT64_MAX;
  return r.rlim_cur;
}

uint64_t machine_budget() {
  uint64_t total = UINT64_MAX;
  struct sysinfo info {};
  if (sysinfo(&info) == 0 && info.totalram > 0) {
    const uint64_t unit = info.mem_unit ? info.mem_unit : 1;
    total = uint64_t{info.totalram} > UINT64_MAX / unit ? UINT64_MAX : uint64_t{info.totalram} * unit;
  }
  // No array can be larger than PTRDIFF_MAX bytes, and a 32-bit process
  // holds less than 4 GiB whatever the machine has: then counts and sizes
  // worked out within the budget also fit in size_t.
  const uint64_t address_space = PTRDIFF_MAX;
  // Half of it: the rest is for the program, for the drawing's and the
  // physics' work lists that grow with the records, and for the desktop's
  // other programs.
  return std::min({total, address_space, limit_of(RLIMIT_AS), limit_of(RLIMIT_DATA)}) / 2;
}

}  // namespace

uint64_t memory_budget() {
  // The machine's figure cannot change while the game runs.
  static const uint64_t machine = machine_budget();
  return budget_override ? budget_override : machine;
}

void set_memory_budget(uint64_t bytes) { budget_override = bytes; }

}  // namespace vorn
