// Unique names per kind: the quick tables and the import support library.
#include <gtest/gtest.h>

#include "host/kv_toolkit.h"
#include "options/options.h"
#include "plugin/plugin.h"
#include "scene/scene.h"
#include "tests/plugin/conversion_scenario.h"

namespace {

class NamingTest : public testing::Test {
 protected:
  void SetUp() override {
    FreeInventorState();
    SetDefaultOptions_Inventor();
  }
  void TearDown() override { FreeInventorState(); }

  std::string Object(const std::string &base) {
    SbString result;
    MakeUniqueName(Kv_Inquire_Token("object"), plugin.state->object_name_dict, plugin.state->object_names, SbString(base.c_str()),
                   result);
    return result.getString();
  }
  std::string Instance(const std::string &base) {
    SbString result;
    MakeUniqueName(Kv_Inquire_Token("instance"), plugin.state->instance_name_dict, plugin.state->instance_names,
                   SbString(base.c_str()), result);
    return result.getString();
  }
  plugin_test::Conversion host_;
};

TEST_F(NamingTest, QuickNamingCountsEachCleanedBaseName) {
  plugin.state->options.quick_naming = 1;
  EXPECT_EQ(Object("Cube"), "Cube");
  EXPECT_EQ(Object("Cube"), "Cube #2");
  EXPECT_EQ(Object("Cube #7"), "Cube #3");
  EXPECT_EQ(Object("Cube#"), "Cube #4");
  EXPECT_EQ(Object(""), "a");
  EXPECT_EQ(Object("   "), "a #2");
  EXPECT_EQ(Object("Part#A"), "Part#A");
  EXPECT_EQ(Object("Cube #2x"), "Cube #2x");
  EXPECT_EQ(Object("A#1#2"), "A#1");
  // Kinds count separately.
  EXPECT_EQ(Instance("Cube"), "Cube");
  const std::string longest(400, 'x');
  EXPECT_EQ(Object(longest), std::string(351, 'x'));
  const std::string numbered = Object(longest);
  EXPECT_EQ(numbered.size(), 319u);
  EXPECT_EQ(numbered.substr(numbered.size() - 3), " #2");
  EXPECT_TRUE(host_.errors.empty());
}

// Coin3D's 32-bit string hash is weak: these two names share a hash, and
// each must still count on its own.
TEST_F(NamingTest, QuickNamingTellsApartNamesThatShareAHash) {
  ASSERT_EQ(SbString::hash("Part2000"), SbString::hash("Part10000"));
  plugin.state->options.quick_naming = 1;
  EXPECT_EQ(Object("Part2000"), "Part2000");
  EXPECT_EQ(Object("Part10000"), "Part10000");
  EXPECT_EQ(Object("Part10000"), "Part10000 #2");
  EXPECT_EQ(Object("Part2000"), "Part2000 #2");
  EXPECT_TRUE(host_.errors.empty());
}

// The run's record dictionaries are keyed on the names too: "Cube #10000"
// and "Cube #2000" share a hash, and neither quick nor library naming may
// make a valid file report a naming error.
TEST(RecordNaming, TenThousandCopiesNameWithoutNamingErrors) {
  ASSERT_EQ(SbString::hash("Cube #10000"), SbString::hash("Cube #2000"));
  plugin_test::Conversion run;
  const std::string copies = "#Inventor V2.1 ascii\nSeparator { Array { numElements1 10001 Cube {} } }\n";
  for (const char *quick : {"1", "0"}) {
    EXPECT_EQ(run.ConvertText(copies, {{"quick_naming", quick}, {"print_stats", "0"}}), 0);
    EXPECT_EQ(plugin_test::DefinedObjects().size(), 10001u);
    EXPECT_TRUE(run.Errors(1).empty()) << run.Errors(1).front();
  }
}

TEST_F(NamingTest, LibraryNamingLeavesTheTablesEmpty) {
  plugin.state->options.quick_naming = 0;
  const std::string first = Object("Cube");
  const std::string second = Object("Cube");
  EXPECT_EQ(first, "Cube");
  EXPECT_NE(second, first);
  EXPECT_EQ(plugin.state->object_names, nullptr);
}

}  // namespace
