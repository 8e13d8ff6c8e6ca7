// Tasks on several threads: each runs once, and a failure reaches the
// caller as the same exception whatever the timing.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "kavrel/mesh/parallel_tasks.h"

namespace {

TEST(RunTasks, EveryTaskRunsOnceAndTheLowestFailureIsThrown) {
  std::vector<std::atomic<int>> runs(5000);
  kavrel::RunTasks(runs.size(), [&](size_t i) { ++runs[i]; });
  size_t wrong = 0;
  for (const auto &count : runs) wrong += count.load() != 1;
  EXPECT_EQ(wrong, 0u);
  kavrel::RunTasks(0, [](size_t) { FAIL() << "no task to run"; });

  // Task 3 fails slowly, task 7 at once: the caller still hears of task 3.
  for (int attempt = 0; attempt < 20; ++attempt) {
    try {
      kavrel::RunTasks(100, [](size_t i) {
        if (i == 3) {
          volatile double spin = 0;
          for (int k = 0; k < 200000; ++k) spin = spin + k;
          throw std::runtime_error("task 3");
        }
        if (i == 7) throw std::runtime_error("task 7");
      });
      ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error &e) {
      EXPECT_EQ(std::string(e.what()), "task 3");
    }
  }
}

}  // namespace
