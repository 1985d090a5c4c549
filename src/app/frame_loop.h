// The microsecond timer slots and the frame loop: frame-rate cap, frame-time
// measurement, frames-per-second count and the statistics caption.
#pragma once

#include <cstdint>

namespace vorn {

constexpr int32_t timer_slot_count = 101;

// The highest-numbered free slot (100 down to 0), now in use; 0 when none is free.
int32_t timer_alloc();
// Starts the slot; a slot that is not in use is reported ("TIM!") and started anyway.
void timer_start(int32_t slot);
// Microseconds since the slot's start, to the nearest integer.
int64_t timer_us(int32_t slot);
// All slots free, then slot 0 in use and started (the state at program start).
void reset_timers();

// Shortest frame period for a frame cap in frames per second (16 us for
// 60000, 16,666 us for 60); no wait at all for a cap of 0 or less.
int64_t min_frame_period_us(int32_t cap);

// Where the frame loop takes its time from. The default reads the timer and
// waits out the frame cap; a fixed step (for demos and headless runs) can
// replace it.
struct frame_clock {
  // Waits until a frame may start and returns the loop's time in microseconds.
  int64_t (*wait_and_read)(int64_t prev_us, int64_t min_period_us);
  // Reads the loop's time in microseconds without waiting.
  int64_t (*read)();
};

// What a run can replace in the frame loop; every empty member keeps the
// ordinary behaviour.
struct frame_hooks {
  const frame_clock* clock = nullptr;                 // default: the timer and the frame cap
  void (*frame_times)(double& dt, double& t) = nullptr;  // replaces the times handed to the game
  void (*pump)() = nullptr;                           // default: poll_events()
  bool (*another_frame)() = nullptr;                  // asked before each frame; false ends the loop
};

// Runs frames until quit_requested is found set before a frame, or a stop
// was asked for (then it requests the exit, code 0).
void run_frame_loop(const frame_hooks& hooks = {});

// The same loop one pass at a time, for a host that owns the loop (the
// browser calls a pass per animation frame): begin, then passes until one
// returns false. run_frame_loop is exactly these calls.
void begin_frame_loop(const frame_hooks& hooks = {});
// One pass: the wait, the counts and the caption, the events, one frame.
// False, with no frame run, once the loop has ended.
bool frame_loop_pass();

}  // namespace vorn
