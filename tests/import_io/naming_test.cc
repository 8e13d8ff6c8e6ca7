// Unique names per kind across the whole scene database.
#include <cstring>
#include <set>

#include "host/import_io.h"
#include "host/kv_toolkit.h"
#include "host_fixture.h"
#include "kavrel/toolkit/instance_tree.h"

namespace {

std::string Unique(const char *kind, const std::string &base) {
  char result[512];
  EXPECT_EQ(Import_IO_MakeAndSaveUniqueName(Kv_Inquire_Token(kind), base.c_str(), result), 0);
  return result;
}

}  // namespace

using NamingTest = HostTest;

TEST_F(NamingTest, RepeatsAreNumberedAndEachKindCountsApart) {
  EXPECT_EQ(Unique("object", "Cube"), "Cube");
  EXPECT_EQ(Unique("object", "Cube"), "Cube #2");
  EXPECT_EQ(Unique("object", "Cube"), "Cube #3");
  EXPECT_EQ(Unique("instance", "Cube"), "Cube");
  EXPECT_EQ(Unique("light", ""), "a");
  EXPECT_EQ(Unique("light", ""), "a #2");
  ASSERT_EQ(Calls("Import_IO_MakeAndSaveUniqueName").size(), 6u);
  EXPECT_EQ(Calls("Import_IO_MakeAndSaveUniqueName")[0]->items[0].text, "object");
}

TEST_F(NamingTest, NamesHeldInTheDatabaseAreSkipped) {
  kavrel::Scene &scene = host_.scene();
  kavrel::AddInstance(scene, "Cube");
  kavrel::AddInstance(scene, "Cube #2");
  scene.surfaces.get_or_add("red");
  scene.cameras.get_or_add("view #2");
  EXPECT_EQ(Unique("instance", "Cube"), "Cube #3");
  EXPECT_EQ(Unique("surface", "red"), "red #2");
  EXPECT_EQ(Unique("camera", "view"), "view");
  EXPECT_EQ(Unique("camera", "view"), "view #3");
  EXPECT_EQ(Unique("texture", "red"), "red");
}

TEST_F(NamingTest, NoNameIsHandedOutTwiceAndNoneOverflowsTheBuffer) {
  std::set<std::string> seen;
  const char *bases[] = {"Cube", "Cube #2", "Cube #3", "Sphere"};
  for (int i = 0; i < 400; ++i) {
    const std::string name = Unique("object", bases[i % 4]);
    EXPECT_TRUE(seen.insert(name).second) << name << " came twice";
  }

  // A base far beyond the buffer: shortened, still unique, and not a byte
  // written past the 512 the caller owns.
  const std::string long_base(900, 'x');
  char guarded[600];
  std::memset(guarded, '#', sizeof guarded);
  ASSERT_EQ(Import_IO_MakeAndSaveUniqueName(Kv_Inquire_Token("instance"), long_base.c_str(), guarded), 0);
  EXPECT_LE(std::strlen(guarded), 511u);
  for (size_t i = 512; i < sizeof guarded; ++i) ASSERT_EQ(guarded[i], '#');
  const std::string first = guarded;
  EXPECT_NE(Unique("instance", long_base), first);
}

TEST_F(NamingTest, AKindThatIsNotATokenIsRefused) {
  char result[512] = "untouched";
  EXPECT_NE(Import_IO_MakeAndSaveUniqueName(12345, "Cube", result), 0);
  EXPECT_STREQ(result, "untouched");
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].first, 4);
  EXPECT_FALSE(Calls("Import_IO_MakeAndSaveUniqueName")[0]->error.empty());
}
