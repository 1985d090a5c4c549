// Worker threads: each waits on the job generation (watching it for a
// while, then a futex wait, no lock), runs its share and counts itself done;
// the caller runs share 0 and waits for the count.
#include "base/workers.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vorn {

namespace {

struct worker_pool {
  std::vector<std::thread> threads;
  std::atomic<uint32_t> generation{0};
  std::atomic<int32_t> finished{0};
  std::atomic<bool> stopping{false};
  job_fn job = nullptr;
  void* context = nullptr;

  ~worker_pool() { stop(); }

  void stop() {
    if (threads.empty()) return;
    stopping.store(true, std::memory_order_release);
    generation.fetch_add(1, std::memory_order_acq_rel);
    generation.notify_all();
    for (std::thread& t : threads) t.join();
    threads.clear();
    stopping.store(false, std::memory_order_release);
  }
};

worker_pool pool;

// After a job a worker watches for the next one for this long before it
// sleeps: waking a sleeping thread takes tens of microseconds on some
// machines, more than the jobs of a frame save, and the jobs of one frame
// come well within it of each other.
constexpr std::chrono::microseconds linger{500};

// The processor's hint that this is a spin-wait loop; nothing where it has
// none.
void cpu_pause() {
#if defined(__SSE2__)
  _mm_pause();
#elif defined(__aarch64__)
  asm volatile("yield");
#endif
}

// Returns once the job generation is no longer `seen`.
void wait_for_job(uint32_t seen) {
  const auto until = std::chrono::steady_clock::now() + linger;
  for (uint32_t n = 1; pool.generation.load(std::memory_order_acquire) == seen; ++n) {
    cpu_pause();
    if (n % 64 == 0 && std::chrono::steady_clock::now() > until) {
      pool.generation.wait(seen, std::memory_order_acquire);
      return;
    }
  }
}

void work(int32_t participant, uint32_t seen) {
  for (;;) {
    wait_for_job(seen);
    seen = pool.generation.load(std::memory_order_acquire);
    if (pool.stopping.load(std::memory_order_acquire)) return;
    pool.job(pool.context, participant);
    pool.finished.fetch_add(1, std::memory_order_acq_rel);
  }
}

}  // namespace

int32_t thread_count() { return static_cast<int32_t>(pool.threads.size()) + 1; }

int32_t default_thread_count() {
  const unsigned n = std::thread::hardware_concurrency();
  if (n == 0) return 1;
  return n > static_cast<unsigned>(max_threads) ? max_threads : static_cast<int32_t>(n);
}

void set_thread_count(int32_t n) {
  if (n < 1) n = 1;
  if (n > max_threads) n = max_threads;
  if (n == thread_count()) return;
  pool.stop();
  const uint32_t seen = pool.generation.load(std::memory_order_acquire);
  for (int32_t p = 1; p < n; ++p) pool.threads.emplace_back(work, p, seen);
}

void run_on_all_threads(job_fn job, void* context) {
  const int32_t workers = static_cast<int32_t>(pool.threads.size());
  if (workers == 0) {
    job(context, 0);
    return;
  }
  pool.job = job;
  pool.context = context;
  pool.finished.store(0, std::memory_order_relaxed);
  pool.generation.fetch_add(1, std::memory_order_acq_rel);
  pool.generation.notify_all();
  job(context, 0);
  uint32_t spins = 0;
  while (pool.finished.load(std::memory_order_acquire) < workers) spin_wait(spins);
}

void spin_wait(uint32_t& spins) {
  if (++spins < 2000) {
    cpu_pause();
    return;
  }
  std::this_thread::yield();
}

void reset_workers() { pool.stop(); }

}  // namespace vorn
