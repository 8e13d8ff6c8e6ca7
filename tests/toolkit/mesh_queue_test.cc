// Mesh work handed on runs in the order it came, all of it by the time a
// settle returns, and a failure comes out there.
#include "kavrel/toolkit/mesh_queue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

TEST(MeshQueue, WorkRunsInOrderAndFailuresComeOutAtTheSettle) {
  kavrel::MeshQueue queue;
  std::vector<int> seen;
  for (int i = 0; i < 1000; ++i) queue.Post([&seen, i] { seen.push_back(i); });
  queue.Settle();
  ASSERT_EQ(seen.size(), 1000u);
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(seen[i], i);

  queue.Post([] { throw std::runtime_error("first"); });
  queue.Post([] { throw std::runtime_error("second"); });
  queue.Post([&seen] { seen.push_back(1000); });
  try {
    queue.Settle();
    ADD_FAILURE() << "the failure was not thrown";
  } catch (const std::runtime_error &e) {
    EXPECT_STREQ(e.what(), "first");
  }
  EXPECT_EQ(seen.back(), 1000);  // the work after a failure still ran
  EXPECT_NO_THROW(queue.Settle());
}

TEST(MeshQueue, EndingWaitsForTheWorkHandedOn) {
  bool done = false;
  {
    kavrel::MeshQueue queue;
    queue.Post([&done] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      done = true;
    });
    queue.Post([] { throw std::runtime_error("dropped"); });
  }
  EXPECT_TRUE(done);
}

}  // namespace
