// Timer slots and the frame loop.
#include "app/frame_loop.h"

#include <cmath>
#include <string>

#include "app/numfmt.h"
#include "app/window.h"
#include "base/wide_int.h"
#include "base/stop_request.h"
#include "platform/clock.h"
#include "platform/message.h"

namespace vorn {

namespace {

struct timer_slot {
  bool in_use = false;
  int64_t start = 0;
  int64_t last = 0;
};

timer_slot slots[timer_slot_count];
int64_t frequency = 0;
int32_t loop_slot = 0;

int64_t ticks_to_us(int64_t ticks) {
  // ticks / frequency * 1e6 to the nearest integer, exact in 64 bits for the
  // nanosecond counter (no precision lost to doubles after long uptimes).
  if (frequency == 1000000000) return (ticks + (ticks >= 0 ? 500 : -500)) / 1000;
  // Any other counter: floor(|ticks| 10^6 / f + 1/2), halves away from zero.
  const int64_t magnitude = floor_mul_add_div(ticks < 0 ? -ticks : ticks, 2000000, frequency, 2 * frequency);
  return ticks < 0 ? -magnitude : magnitude;
}

// Sleeps out what is left of the frame period (a low cap then leaves the
// core idle), waking again if a signal cut the sleep short, unless it asked
// for a stop. The sleep goes in steps of at most a tenth of a second, so
// that a stop asked for just before it began is heard soon too.
int64_t real_wait_and_read(int64_t prev, int64_t min_period) {
  constexpr int64_t longest_sleep_us = 100000;
  for (int64_t left = min_period - (timer_us(loop_slot) - prev); left > 0 && !stop_requested();
       left = min_period - (timer_us(loop_slot) - prev)) {
    sleep_us(left < longest_sleep_us ? left : longest_sleep_us);
  }
  return timer_us(loop_slot);
}

int64_t real_read() { return timer_us(loop_slot); }

const frame_clock real_clock{real_wait_and_read, real_read};

// The running loop: its hooks and clock, and its times in microseconds.
struct loop_state {
  frame_hooks hooks;
  const frame_clock* clock = &real_clock;
  int64_t start = 0;
  int64_t last_second = 0;
  int64_t last_caption = 0;
  int64_t prev = 0;
  // Built in place and reused: once its capacity has grown, rewriting the
  // caption ten times a second allocates nothing.
  std::string caption_text;
};
loop_state loop;

// The program starts with every slot free but slot 0, which runs.
[[maybe_unused]] const bool timers_ready = (reset_timers(), true);

}  // namespace

void reset_timers() {
  for (timer_slot& s : slots) s = timer_slot{};
  frequency = counter_frequency();
  slots[0].in_use = true;
  slots[0].start = slots[0].last = counter_ticks();
}

int32_t timer_alloc() {
  for (int32_t i = timer_slot_count - 1; i >= 0; --i) {
    if (!slots[i].in_use) {
      slots[i].in_use = true;
      return i;
    }
  }
  return 0;
}

void timer_start(int32_t slot) {
  if (slot < 0 || slot >= timer_slot_count) return;
  if (!slots[slot].in_use) message_box("Programmer error", "TIM!");
  slots[slot].start = slots[slot].last = counter_ticks();
}

int64_t timer_us(int32_t slot) {
  if (slot < 0 || slot >= timer_slot_count) return 0;
  const int64_t now = counter_ticks();
  slots[slot].last = now;
  return ticks_to_us(now - slots[slot].start);
}

int64_t min_frame_period_us(int32_t cap) { return cap > 0 ? 1000000 / cap : 0; }

void begin_frame_loop(const frame_hooks& hooks) {
  loop.hooks = hooks;
  loop.clock = hooks.clock ? hooks.clock : &real_clock;
  loop_slot = timer_alloc();
  timer_start(loop_slot);
  loop.start = loop.clock->read();
  loop.last_second = 0;
  loop.last_caption = 0;
  loop.prev = 0;
}

bool frame_loop_pass() {
  const frame_hooks& hooks = loop.hooks;
  if (quit_requested) return false;
  // SIGINT or SIGTERM: the game ends as on Escape.
  if (stop_requested()) {
    request_exit(0);
    return false;
  }
  if (hooks.another_frame && !hooks.another_frame()) return false;
  const int64_t now = loop.clock->wait_and_read(loop.prev, min_frame_period_us(frame_cap));
  const int64_t delta = now - loop.prev;
  loop.prev = now;
  if (now - loop.last_second >= 1000000) {
    fps = frame_count;
    frame_count = 0;
    loop.last_second = now;
  }
  if (now - loop.last_caption >= 100000) {
    if (caption_stats) {
      loop.caption_text.assign(caption_base).append(" FPS=").append(int_to_str(fps));
      loop.caption_text.append(" MDT=").append(short_real(delta / 1000000.0));
      set_caption(loop.caption_text);
    }
    loop.last_caption = now;
  }
  if (hooks.pump) {
    hooks.pump();
  } else {
    poll_events();
  }
  if (quit_requested) return false;
  double t = (loop.clock->read() - loop.start) / 1000000.0;
  double dt = delta / 1000000.0;
  if (dt < 0.001) dt = 0.001;
  if (hooks.frame_times) hooks.frame_times(dt, t);
  if (on_frame) on_frame(dt, t);
  return true;
}

void run_frame_loop(const frame_hooks& hooks) {
  begin_frame_loop(hooks);
  while (frame_loop_pass()) {
  }
}

}  // namespace vorn
