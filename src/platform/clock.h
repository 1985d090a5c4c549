// Time services of the machine: a monotonic high-resolution counter, a short
// sleep, and the local date and time with milliseconds.
#pragma once

#include <cstdint>

namespace vorn {

// Monotonic counter in ticks (nanoseconds) and its frequency (ticks/second).
int64_t counter_ticks();
int64_t counter_frequency();

// Sleeps for about one millisecond.
void sleep_1ms();

// Sleeps for at least `us` microseconds (nothing for 0 or less).
void sleep_us(int64_t us);

struct local_time {
  int32_t year;    // e.g. 2024
  int32_t month;   // 1..12
  int32_t day;     // 1..31
  int32_t hour;    // 0..23
  int32_t minute;  // 0..59
  int32_t second;  // 0..60
  int32_t millisecond;  // 0..999
};

local_time local_time_now();

}  // namespace vorn
