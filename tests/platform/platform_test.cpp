// The machine layer: the local date as the calendar gives it, and the memory
// budget following the process's own limits.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>

#include "platform/clock.h"
#include "platform/memory.h"

namespace vorn {
namespace {

TEST(Clock, LocalTimeIsTheCalendarDate) {
  std::time_t before = std::time(nullptr);
  local_time now = local_time_now();
  std::time_t after = std::time(nullptr);
  std::tm parts{};
  localtime_r(&after, &parts);
  if (before != after) now = local_time_now();  // a second turned over in between
  EXPECT_EQ(now.year, parts.tm_year + 1900);
  EXPECT_EQ(now.month, parts.tm_mon + 1);
  EXPECT_EQ(now.day, parts.tm_mday);
  EXPECT_GE(now.millisecond, 0);
  EXPECT_LE(now.millisecond, 999);
}

// In a child process, so the limit stays there: a data limit below the
// machine's memory becomes the budget.
TEST(MemoryBudget, FollowsTheProcessDataLimit) {
  set_memory_budget(0);
  const uint64_t limit = uint64_t{1} << 30;  // 1 GiB, below this machine's memory
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    rlimit r{};
    getrlimit(RLIMIT_DATA, &r);
    const uint64_t want = std::min<uint64_t>(limit, r.rlim_max);
    r.rlim_cur = want;
    if (setrlimit(RLIMIT_DATA, &r) != 0) _exit(2);
    // An emulator (qemu-user) accepts the limit but keeps it for itself.
    rlimit now{};
    if (getrlimit(RLIMIT_DATA, &now) != 0 || now.rlim_cur != want) _exit(3);
    _exit(memory_budget() <= want ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 3) GTEST_SKIP() << "the data limit does not take hold here";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace vorn
