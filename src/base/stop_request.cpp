// The stop request: two lock-free atomics, so that a signal handler may set
// one and any thread read both.
#include "base/stop_request.h"

#include <atomic>

namespace vorn {

namespace {

std::atomic<bool> stop_flag{false};
std::atomic<bool> abandoned{false};
// A signal handler sets the stop flag, so it must never take a lock. ARMv5
// (Debian's armel) has no atomic instructions of its own: there atomics go
// through the kernel's lock-free helpers, which the compiler counts as
// "sometimes" lock-free.
static_assert(std::atomic<bool>::is_always_lock_free || ATOMIC_BOOL_LOCK_FREE == 1,
              "a signal handler sets the stop flag");

}  // namespace

void request_stop() { stop_flag.store(true, std::memory_order_relaxed); }

bool stop_requested() { return stop_flag.load(std::memory_order_relaxed); }

bool give_up_frame() {
  if (!stop_flag.load(std::memory_order_relaxed)) return false;
  abandoned.store(true, std::memory_order_relaxed);
  return true;
}

bool frame_abandoned() { return abandoned.load(std::memory_order_relaxed); }

void reset_stop_request() {
  stop_flag.store(false, std::memory_order_relaxed);
  abandoned.store(false, std::memory_order_relaxed);
}

}  // namespace vorn
