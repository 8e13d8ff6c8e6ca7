// The tables that number edges and flattened vertices: ids must survive
// every growth of the hash table, and the anchored table must find a key
// whether it sits on its anchor's chain or past the chain's limit.
#include <gtest/gtest.h>

#include <cstdint>

#include "kavrel/mesh/anchored_table.h"
#include "kavrel/mesh/intern_table.h"

namespace {

struct Scatter {
  uint64_t operator()(uint64_t key) const { return key * 0x9E3779B97F4A7C15ull; }
};
// Seven hash values for every key: long probe runs across the wrap-around.
struct Crowd {
  uint64_t operator()(uint64_t key) const { return key % 7; }
};

// Interns keys[i] for i < count, then looks every one up again; answers
// how many answers were wrong.
template <typename Hash>
size_t WrongIds(kavrel::InternTable<uint64_t, Hash> &table, size_t count) {
  size_t wrong = 0;
  for (size_t pass = 0; pass < 2; ++pass) {
    for (size_t i = 0; i < count; ++i) {
      bool inserted = pass == 0;
      const int32_t id = table.Intern(i * 7919 + 3, &inserted);
      if (id != static_cast<int32_t>(i) || inserted != (pass == 0)) ++wrong;
    }
  }
  return wrong;
}

TEST(InternTable, KeysKeepTheirIdsThroughEveryGrowth) {
  kavrel::InternTable<uint64_t, Scatter> table(1);  // 64 slots: grows eleven times
  EXPECT_EQ(WrongIds(table, 100000), 0u);
  EXPECT_EQ(table.size(), 100000u);
  EXPECT_EQ(table.keys()[4242], 4242u * 7919 + 3);

  kavrel::InternTable<uint64_t, Crowd> crowded(1);
  EXPECT_EQ(WrongIds(crowded, 2000), 0u);
  bool inserted = false;
  EXPECT_EQ(crowded.Intern(1, &inserted), 2000);  // a new key after the growths
  EXPECT_TRUE(inserted);
}

TEST(AnchoredTable, KeysOfCrowdedAndOutOfRangeAnchorsKeepTheirIds) {
  // Anchor 0 carries 1,000 keys (the apex of a fan), anchors 1..99 one key
  // each, and anchors past the table's range go to the hash table.
  kavrel::AnchoredTable<uint64_t, Scatter> table(100, 4);
  auto anchor_of = [](uint64_t i) -> size_t { return i < 1000 ? 0 : i < 1099 ? i - 999 : 100 + i; };
  for (size_t pass = 0; pass < 2; ++pass) {
    for (uint64_t i = 0; i < 1200; ++i) {
      bool inserted = false;
      EXPECT_EQ(table.Intern(anchor_of(i), i * 7919 + 3, &inserted), static_cast<int32_t>(i)) << i;
      EXPECT_EQ(inserted, pass == 0) << i;
    }
  }
  EXPECT_EQ(table.size(), 1200u);
  EXPECT_EQ(table.keys()[1050], 1050u * 7919 + 3);
}

}  // namespace
