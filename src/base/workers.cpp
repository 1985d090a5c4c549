// Worker threads that never make a frame wait for one that came late.
//
// A job has one share per thread. The caller runs share 0, then every share
// no worker has claimed yet, and waits only for the shares workers are
// running; so a worker that the machine runs late costs the frame nothing,
// it finds its share taken. Shares are claimed from one word holding the
// job's generation, its share count and the next share, so a worker still
// looking at an older job can never claim a share of a newer one.
//
// What the workers cost the machine is kept to what they bring:
//  - while the machine shows no spare core (cpu_load.h) no worker is woken
//    and none watches: the caller runs every share, as on one thread;
//  - after a job a worker watches for the next one (tens of microseconds
//    sooner than a sleeping thread can be woken) at most as long as its
//    last share took: watching is never the larger part of its time;
//  - the caller wakes sleeping workers for a kind of job only while they
//    have lately helped with it (claimed a share in time), and otherwise
//    once in a while, to see whether they would now.
#include "base/workers.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "base/cpu_load.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vorn {

namespace {

// The claim word: generation << 32 | share count << 16 | next share.
constexpr uint64_t claim_word(uint32_t generation, int32_t shares, int32_t next) {
  return uint64_t{generation} << 32 | uint64_t(uint32_t(shares)) << 16 | uint32_t(next);
}
constexpr uint32_t claim_generation(uint64_t w) { return static_cast<uint32_t>(w >> 32); }
constexpr int32_t claim_shares(uint64_t w) { return static_cast<int32_t>((w >> 16) & 0xFFFF); }
constexpr int32_t claim_next(uint64_t w) { return static_cast<int32_t>(w & 0xFFFF); }

// The longest a worker watches for the next job.
constexpr int64_t longest_watch_us = 500;
// A kind of job wakes the workers while they helped with more than this
// share of its recent runs, and otherwise every probe_every-th run.
constexpr float least_help = 0.125f;
constexpr uint32_t probe_every = 32;
// The kinds of job whose help is kept apart (the crowd's, the drawing's).
constexpr int32_t job_kinds = 4;

int64_t now_us() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

struct job_kind {
  job_fn job = nullptr;
  float help = 1.0f;  // moving average of "a worker claimed a share"
  uint32_t runs = 0;
};

struct worker_pool {
  std::vector<std::thread> threads;
  std::atomic<uint32_t> generation{0};
  std::atomic<uint64_t> claim{0};
  std::atomic<int32_t> done_by_workers{0};
  std::atomic<bool> stopping{false};
  // How long a worker may watch for the next job, in microseconds (0: it
  // sleeps at once); set by the caller from the machine's load.
  std::atomic<int64_t> watch_us{longest_watch_us};
  std::atomic<job_fn> job{nullptr};
  std::atomic<void*> context{nullptr};
  job_kind kinds[job_kinds];

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

// The processor's hint that this is a spin-wait loop; nothing where it has
// none.
void cpu_pause() {
#if defined(__SSE2__)
  _mm_pause();
#elif defined(__aarch64__)
  asm volatile("yield");
#endif
}

// Claims the next share of job `generation`; -1 when none is left (or the
// job is over).
int32_t claim_share(uint32_t generation) {
  uint64_t w = pool.claim.load(std::memory_order_acquire);
  while (claim_generation(w) == generation && claim_next(w) < claim_shares(w)) {
    if (pool.claim.compare_exchange_weak(w, w + 1, std::memory_order_acq_rel, std::memory_order_acquire)) {
      return claim_next(w);
    }
  }
  return -1;
}

// Returns once the job generation is no longer `seen`: watching it for up
// to `watch` microseconds, then asleep.
void wait_for_job(uint32_t seen, int64_t watch) {
  if (watch > 0) {
    const int64_t until = now_us() + watch;
    for (uint32_t n = 1; pool.generation.load(std::memory_order_acquire) == seen; ++n) {
      cpu_pause();
      if (n % 64 == 0 && now_us() > until) break;
    }
  }
  pool.generation.wait(seen, std::memory_order_acquire);
}

void work(uint32_t seen) {
  int64_t worked_us = longest_watch_us;
  for (;;) {
    const int64_t watch = pool.watch_us.load(std::memory_order_relaxed);
    wait_for_job(seen, watch < worked_us ? watch : worked_us);
    seen = pool.generation.load(std::memory_order_acquire);
    if (pool.stopping.load(std::memory_order_acquire)) return;
    const int64_t start = now_us();
    bool any = false;
    for (int32_t p; (p = claim_share(seen)) >= 0;) {
      // Claimed: the job cannot end before this share is done, so its
      // function and context stay as they were published.
      pool.job.load(std::memory_order_relaxed)(pool.context.load(std::memory_order_relaxed), p);
      pool.done_by_workers.fetch_add(1, std::memory_order_acq_rel);
      any = true;
    }
    // A worker that found its share taken came late: it watches no longer
    // than a tenth of the longest watch before it sleeps again.
    worked_us = any ? now_us() - start : longest_watch_us / 10;
  }
}

job_kind& kind_of(job_fn job) {
  for (job_kind& k : pool.kinds) {
    if (k.job == job) return k;
  }
  for (job_kind& k : pool.kinds) {
    if (k.job == nullptr) {
      k.job = job;
      return k;
    }
  }
  return pool.kinds[job_kinds - 1];
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
  for (job_kind& k : pool.kinds) k = job_kind{};
  const uint32_t seen = pool.generation.load(std::memory_order_acquire);
  for (int32_t p = 1; p < n; ++p) pool.threads.emplace_back(work, seen);
}

void run_on_all_threads(job_fn job, void* context) {
  const int32_t shares = thread_count();
  if (shares == 1) {
    job(context, 0);
    return;
  }
  // Without a spare core a worker could only take the processor from the
  // caller or from other programs: none watches, none is woken.
  const bool spare = spare_cores(now_us()) >= 0.5;
  pool.watch_us.store(spare ? longest_watch_us : 0, std::memory_order_relaxed);
  job_kind& kind = kind_of(job);
  const bool wake = spare && (kind.help > least_help || ++kind.runs % probe_every == 0);

  pool.job.store(job, std::memory_order_relaxed);
  pool.context.store(context, std::memory_order_relaxed);
  pool.done_by_workers.store(0, std::memory_order_relaxed);
  const uint32_t generation = pool.generation.load(std::memory_order_relaxed) + 1;
  pool.claim.store(claim_word(generation, shares, 1), std::memory_order_release);
  pool.generation.store(generation, std::memory_order_release);
  if (wake) pool.generation.notify_all();

  job(context, 0);
  int32_t mine = 1;
  for (int32_t p; (p = claim_share(generation)) >= 0; ++mine) job(context, p);
  const int32_t theirs = shares - mine;
  uint32_t spins = 0;
  while (pool.done_by_workers.load(std::memory_order_acquire) < theirs) spin_wait(spins);
  kind.help = kind.help * 0.875f + (theirs > 0 ? 0.125f : 0.0f);
}

void spin_wait(uint32_t& spins) {
  if (++spins < 2000) {
    cpu_pause();
    return;
  }
  std::this_thread::yield();
}

void reset_workers() {
  pool.stop();
  for (job_kind& k : pool.kinds) k = job_kind{};
}

}  // namespace vorn
