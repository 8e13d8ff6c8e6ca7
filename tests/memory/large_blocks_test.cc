#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "kavrel/memory/large_blocks.h"

namespace kavrel {
namespace {

constexpr size_t kMB = size_t{1} << 20;

char *Take(LargeBlockPool &pool, size_t bytes, bool untouched = false) {
  return static_cast<char *>(pool.Allocate(bytes, untouched));
}

bool AllZero(const char *block, size_t bytes) {
  for (size_t i = 0; i < bytes; i += 4096)
    if (block[i] != 0) return false;
  return true;
}

TEST(LargeBlockPool, FreedSpaceServesTheNextBlocks) {
  LargeBlockPool pool(256 * kMB);
  char *a = Take(pool, 8 * kMB), *b = Take(pool, 8 * kMB), *c = Take(pool, 8 * kMB);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(b, a + 8 * kMB);
  EXPECT_EQ(c, b + 8 * kMB);
  // Two free neighbours hold a block of their joint size.
  ASSERT_TRUE(pool.Free(a));
  ASSERT_TRUE(pool.Free(b));
  EXPECT_EQ(Take(pool, 16 * kMB), a);
  // The highest block freed lowers the top: a larger block starts there.
  ASSERT_TRUE(pool.Free(c));
  EXPECT_EQ(Take(pool, 20 * kMB), c);
  // The smallest free range that holds a block is taken.
  char *d = Take(pool, 4 * kMB), *e = Take(pool, 1 * kMB), *f = Take(pool, 2 * kMB), *g = Take(pool, 1 * kMB);
  ASSERT_TRUE(pool.Free(d));
  ASSERT_TRUE(pool.Free(f));
  EXPECT_EQ(Take(pool, 2 * kMB), f);
  EXPECT_EQ(Take(pool, 3 * kMB), d);
  (void)e, (void)g;
}

TEST(LargeBlockPool, BlocksBeyondARegionGoToTheNext) {
  LargeBlockPool pool(64 * kMB);
  char *a = Take(pool, 48 * kMB), *b = Take(pool, 48 * kMB), *c = Take(pool, 100 * kMB);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(b < a || b >= a + 64 * kMB) << "a second region";
  c[100 * kMB - 1] = 1;
  EXPECT_TRUE(pool.Owns(c + 100 * kMB - 1));
  for (char *block : {a, b, c}) EXPECT_TRUE(pool.Free(block));
}

TEST(LargeBlockPool, PointersOfOthersAreLeftToTheirOwners) {
  LargeBlockPool pool(64 * kMB);
  void *heap = std::malloc(2 * kMB);
  char local = 0;
  EXPECT_FALSE(pool.Free(heap));
  EXPECT_FALSE(pool.Free(&local));
  EXPECT_FALSE(pool.Owns(heap));
  std::free(heap);
  char *block = Take(pool, 2 * kMB);
  ASSERT_TRUE(pool.Free(block));
  EXPECT_DEATH(pool.Free(block), "freed twice");
}

void Fill(char *block, size_t bytes) {
  for (size_t i = 0; i < bytes; i += 4096) block[i] = 7;
}

TEST(LargeBlockPool, UntouchedBlocksAndPagesBeyondTheBudgetAreZeros) {
  LargeBlockPool pool(1024 * kMB);
  // A freed block's pages are kept for the next block...
  char *kept = Take(pool, 16 * kMB), *live = Take(pool, 4 * kMB);
  Fill(kept, 16 * kMB);
  ASSERT_TRUE(pool.Free(kept));
  char *again = Take(pool, 16 * kMB);
  ASSERT_EQ(again, kept);
  EXPECT_EQ(again[4096], 7);
  // ...unless it is asked for untouched.
  ASSERT_TRUE(pool.Free(again));
  again = Take(pool, 16 * kMB, true);
  ASSERT_EQ(again, kept);
  EXPECT_TRUE(AllZero(again, 16 * kMB));
  ASSERT_TRUE(pool.Free(again));
  // Pages beyond what the pool ever had live go back, from the end of the
  // largest free range: here a hole of 80 MB that a 100 MB block did not
  // fit, and the 100 MB, freed, leave 180 MB where 100 MB were ever live.
  LargeBlockPool fragmented(1024 * kMB);
  char *first = Take(fragmented, 4 * kMB), *hole = Take(fragmented, 80 * kMB), *barrier = Take(fragmented, 4 * kMB);
  Fill(hole, 80 * kMB);
  ASSERT_TRUE(fragmented.Free(hole));
  char *high = Take(fragmented, 100 * kMB);  // 108 MB live at most
  ASSERT_EQ(high, barrier + 4 * kMB);
  Fill(high, 100 * kMB);
  ASSERT_TRUE(fragmented.Free(high));        // 180 MB free, 8 MB live
  EXPECT_EQ(Take(fragmented, 100 * kMB), high);
  EXPECT_EQ(high[4096], 7);
  EXPECT_EQ(high[20 * kMB - 4096], 7);
  EXPECT_TRUE(AllZero(high + 20 * kMB, 80 * kMB));
  EXPECT_EQ(Take(fragmented, 80 * kMB), hole);
  EXPECT_EQ(hole[4096], 7);
  (void)first;
  (void)live;
}

TEST(LargeBlockPool, ThreadsTakeAndFreeBlocksOfTheirOwn) {
  LargeBlockPool pool(256 * kMB);
  std::vector<std::thread> threads;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&pool, &failures, t] {
      for (int round = 0; round < 60; ++round) {
        const size_t bytes = (1 + (round + t) % 5) * kMB;
        char *block = Take(pool, bytes, round % 3 == 0);
        if (block == nullptr) {
          ++failures[t];
          continue;
        }
        for (size_t i = 0; i < bytes; i += 4096) block[i] = static_cast<char>(t + 1);
        std::this_thread::yield();
        for (size_t i = 0; i < bytes; i += 4096) failures[t] += block[i] != t + 1;
        failures[t] += !pool.Free(block);
      }
    });
  }
  for (std::thread &thread : threads) thread.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(failures[t], 0) << "thread " << t;
}

}  // namespace
}  // namespace kavrel
