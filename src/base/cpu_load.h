// How much of the machine the game could have: the processors' idle time
// plus the game's own use, over the last stretch of at least a fifth of a
// second, from the kernel's counters (Linux's /proc/stat). The worker
// threads watch for work only while this leaves a core for them.
#pragma once

#include <cstdint>

namespace vorn {

// Cores' worth the game could use beyond its own thread, as last sampled;
// a new sample is taken when the last is older than a fifth of a second
// (reading it costs a few microseconds). Where the counters cannot be read,
// every other core counts as free. Allocates nothing.
double spare_cores(int64_t now_us);

// From now on spare_cores answers `cores` whatever the machine does, so that
// tests of the threads use them on a busy machine too; a negative value
// measures again.
void assume_spare_cores(double cores);

// Forgets the samples and any assumed answer (tests).
void reset_cpu_load();

}  // namespace vorn
