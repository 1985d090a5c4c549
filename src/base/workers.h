// The worker threads that share work with the game's own thread (the
// crowd's steering, the bands of the screen): started once, waiting between
// jobs, joined when the count changes or the program ends. A job never
// decides anything by which thread finished first.
#pragma once

#include <cstdint>

namespace vorn {

// The threads taking part in a job, the caller included (1: no workers).
int32_t thread_count();
// The default for --threads: the processors, at most max_threads.
int32_t default_thread_count();
constexpr int32_t max_threads = 8;
// Starts or stops workers so that n threads (clamped to [1, max_threads])
// take part from now on. Not to be called from within a job.
void set_thread_count(int32_t n);

// Runs job(context, p) once for every participant p in [0, thread_count()),
// and returns once all have returned. p = 0 runs on the calling thread
// first; any other share no worker has claimed by then runs there too,
// after it. So a share may wait for work that share 0 or a running share
// does, never for another share to start.
using job_fn = void (*)(void* context, int32_t participant);
void run_on_all_threads(job_fn job, void* context);

// Waits a little for another thread's progress (a pause, then a yield).
void spin_wait(uint32_t& spins);

// Joins every worker; one thread from then on.
void reset_workers();

}  // namespace vorn
