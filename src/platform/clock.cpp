// Time services on POSIX: clock_gettime and localtime_r.
#include "platform/clock.h"

#include <ctime>

namespace vorn {

int64_t counter_ticks() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

int64_t counter_frequency() { return 1000000000; }

void sleep_1ms() {
  const timespec ts{0, 1000000};
  nanosleep(&ts, nullptr);
}

void sleep_us(int64_t us) {
  if (us <= 0) return;
  const timespec ts{static_cast<time_t>(us / 1000000), static_cast<long>(us % 1000000 * 1000)};
  nanosleep(&ts, nullptr);
}

local_time local_time_now() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm parts{};
  const time_t secs = ts.tv_sec;
  localtime_r(&secs, &parts);
  return local_time{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
                    parts.tm_min,         parts.tm_sec,     int32_t(ts.tv_nsec / 1000000)};
}

}  // namespace vorn
