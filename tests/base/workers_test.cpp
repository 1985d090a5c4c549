// The worker threads: every share of every job runs exactly once, with its
// own participant number and its own job's context, however late the
// workers come and whether or not they are woken; and a stop between jobs
// leaves nothing behind.
#include "base/workers.h"

#include <gtest/gtest.h>

#include "base/cpu_load.h"

#include <atomic>
#include <vector>

namespace vorn {
namespace {

struct tally {
  std::atomic<int32_t> runs[max_threads] = {};
  std::atomic<int32_t> wrong{0};
};

void count_share(void* context, int32_t participant) {
  tally& t = *static_cast<tally*>(context);
  if (participant < 0 || participant >= thread_count()) {
    t.wrong.fetch_add(1);
    return;
  }
  t.runs[participant].fetch_add(1);
}

// A second kind of job, so that the help kept per kind differs.
void count_share_slowly(void* context, int32_t participant) {
  volatile int32_t spin = 0;
  for (int32_t i = 0; i < 2000; ++i) spin = spin + 1;
  count_share(context, participant);
}

TEST(Workers, EveryShareOfEveryJobRunsOnceWithItsOwnContext) {
  // With a spare core the workers are woken and watch; without one the
  // caller runs every share.
  for (const double spare : {max_threads * 1.0, 0.0}) {
  assume_spare_cores(spare);
  for (const int32_t threads : {1, 2, 3, 5}) {
    SCOPED_TRACE(threads);
    set_thread_count(threads);
    ASSERT_EQ(thread_count(), threads);
    // Many short jobs back to back: a worker still busy with one job's
    // claim must never take a share of the next (each has its own tally).
    std::vector<tally> tallies(3000);
    for (size_t j = 0; j < tallies.size(); ++j) {
      run_on_all_threads(j % 3 == 0 ? count_share_slowly : count_share, &tallies[j]);
    }
    for (const tally& t : tallies) {
      ASSERT_EQ(t.wrong.load(), 0);
      for (int32_t p = 0; p < max_threads; ++p) ASSERT_EQ(t.runs[p].load(), p < threads ? 1 : 0) << p;
    }
  }
  }
  reset_cpu_load();
  reset_workers();
  EXPECT_EQ(thread_count(), 1);
}

TEST(Workers, CountsAreClampedAndChangeBetweenJobs) {
  set_thread_count(0);
  EXPECT_EQ(thread_count(), 1);
  set_thread_count(max_threads + 5);
  EXPECT_EQ(thread_count(), max_threads);
  tally t;
  run_on_all_threads(count_share, &t);
  for (int32_t p = 0; p < max_threads; ++p) EXPECT_EQ(t.runs[p].load(), 1);
  set_thread_count(2);
  tally u;
  run_on_all_threads(count_share, &u);
  EXPECT_EQ(u.runs[0].load() + u.runs[1].load(), 2);
  EXPECT_EQ(u.runs[2].load(), 0);
  reset_workers();
  EXPECT_GE(default_thread_count(), 1);
  EXPECT_LE(default_thread_count(), max_threads);
}

}  // namespace
}  // namespace vorn
