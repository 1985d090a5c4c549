// The machine's idle time from /proc/stat, the game's own from its CPU clock.
#include "base/cpu_load.h"

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace vorn {

namespace {

constexpr int64_t sample_interval_us = 200000;

struct load_sample {
  int64_t wall_us = -1;   // when taken; -1: none yet
  double idle_s = 0;      // the processors' idle seconds, summed
  double own_s = 0;       // the game's CPU seconds, all its threads
  double spare = 0;       // the result from the sample before
};
load_sample last;
double assumed = -1;  // >= 0: the answer, whatever the machine does

double processors() {
  const unsigned n = std::thread::hardware_concurrency();
  return n == 0 ? 1.0 : static_cast<double>(n);
}

// The summed idle and iowait seconds of every processor, from the first line
// of /proc/stat ("cpu user nice system idle iowait ..." in clock ticks).
// False where it cannot be read.
bool read_idle_seconds(double& idle_s) {
#if defined(__linux__)
  const int fd = open("/proc/stat", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char text[512];
  const ssize_t n = read(fd, text, sizeof text - 1);
  close(fd);
  if (n <= 4) return false;
  text[n] = '\0';
  if (text[0] != 'c' || text[1] != 'p' || text[2] != 'u' || text[3] != ' ') return false;
  const char* at = text + 4;
  double field[5] = {};
  for (double& f : field) {
    char* end = nullptr;
    f = static_cast<double>(std::strtoull(at, &end, 10));
    if (end == at) return false;
    at = end;
  }
  const long ticks = sysconf(_SC_CLK_TCK);
  if (ticks <= 0) return false;
  idle_s = (field[3] + field[4]) / static_cast<double>(ticks);
  return true;
#else
  (void)idle_s;
  return false;
#endif
}

double own_seconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

}  // namespace

double spare_cores(int64_t now_us) {
  if (assumed >= 0) return assumed;
  if (last.wall_us >= 0 && now_us - last.wall_us < sample_interval_us) return last.spare;
  double idle_s = 0;
  if (!read_idle_seconds(idle_s)) {
    last.wall_us = now_us;
    last.spare = processors() - 1;
    return last.spare;
  }
  const double own_s = own_seconds();
  if (last.wall_us < 0) {
    // No stretch to measure yet: every other core counts as free until the
    // next sample.
    last = load_sample{now_us, idle_s, own_s, processors() - 1};
    return last.spare;
  }
  const double wall_s = static_cast<double>(now_us - last.wall_us) * 1e-6;
  // Idle time plus the game's own use: what the game could have had.
  const double could_have = ((idle_s - last.idle_s) + (own_s - last.own_s)) / wall_s;
  last = load_sample{now_us, idle_s, own_s, could_have - 1};
  return last.spare;
}

void assume_spare_cores(double cores) { assumed = cores; }

void reset_cpu_load() {
  last = load_sample{};
  assumed = -1;
}

}  // namespace vorn
