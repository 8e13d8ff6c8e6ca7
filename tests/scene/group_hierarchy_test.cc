// Group nodes become empty instances attached below their enclosing group;
// LOD, Switch and Array steer which shapes are imported.
#include <gtest/gtest.h>

#include "plugin/plugin.h"
#include "tests/plugin/conversion_scenario.h"

namespace {

using plugin_test::CallLines;
using plugin_test::DefinedObjects;
using plugin_test::Tokens;

const Tokens kQuick = {{"quick_naming", "1"}, {"print_stats", "0"}};

std::string Attach(const std::string &child, const std::string &parent) {
  return "Kv_Attach(instance \"" + child + "\" instance \"" + parent + "\" .)";
}

TEST(GroupHierarchy, NestedGroupsAttachAfterTheirChildren) {
  plugin_test::Conversion run;
  ASSERT_EQ(run.ConvertText("#Inventor V2.1 ascii\n"
                            "Separator {\n"
                            "  DEF Outer Separator { Separator { Cube {} } Separator { Cube {} } }\n"
                            "  Cube {}\n"
                            "}\n",
                            kQuick),
            0);
  const std::string root = plugin.root_instance_name;
  EXPECT_EQ(CallLines("Kv_Add_Empty_Node"),
            (std::vector<std::string>{"Kv_Add_Empty_Node(instance \"Outer\" .)",
                                      "Kv_Add_Empty_Node(instance \"Separator\" .)",
                                      "Kv_Add_Empty_Node(instance \"Separator #2\" .)"}));
  EXPECT_EQ(CallLines("Kv_Attach"),
            (std::vector<std::string>{Attach("Cube", "Separator"), Attach("Separator", "Outer"),
                                      Attach("Cube #2", "Separator #2"), Attach("Separator #2", "Outer"),
                                      Attach("Outer", root), Attach("Cube #3", root)}));
  EXPECT_TRUE(run.errors.empty());
}

// Quick naming enters the root's name in the instance table, where "x #2"
// counts as "x"; the children still hang from the root as it is named.
TEST(GroupHierarchy, RootNamedLikeANumberedNameKeepsItsName) {
  plugin_test::Conversion run;
  const std::string path =
      run.Write("x #2.iv", "#Inventor V2.1 ascii\nSeparator { DEF Part Separator { Cube {} } Cone {} }\n");
  ASSERT_EQ(run.Convert(path, kQuick), 0);
  ASSERT_STREQ(plugin.root_instance_name, "x #2");
  EXPECT_EQ(CallLines("Kv_Attach"),
            (std::vector<std::string>{Attach("Cube", "Part"), Attach("Part", "x #2"), Attach("Cone", "x #2")}));
  EXPECT_TRUE(run.errors.empty());
}

TEST(GroupHierarchy, UnsupportedGroupClassIsPrunedWithItsSubtree) {
  plugin_test::Conversion run;
  run.ConvertText("#Inventor V2.1 ascii\nSeparator { Blinker { Cube {} } DEF Kept Cone {} }\n", kQuick);
  ASSERT_EQ(run.Errors(1), std::vector<std::string>{"Unsupported group node encountered, skipping."});
  EXPECT_EQ(DefinedObjects(), std::vector<std::string>{"Kept"});
}

TEST(GroupHierarchy, LodSourceChoosesWhichChildIsImported) {
  const std::string lod =
      "#Inventor V2.1 ascii\nSeparator { LOD { range [ 1, 2 ] DEF A Cube {} DEF B Sphere {} DEF C Cone {} } }\n";
  struct Case {
    const char *source, *nth, *expected;
    size_t messages;
  };
  for (const Case &c : {Case{"0", "3", "A", 0}, Case{"1", "1", "C", 0}, Case{"2", "2", "B", 0}, Case{"2", "4", "A", 1},
                        Case{"2", "0", "A", 1}}) {
    plugin_test::Conversion run;
    Tokens tokens = kQuick;
    tokens.insert(tokens.end(), {{"lod_source", c.source}, {"nthlod", c.nth}});
    run.ConvertText(lod, tokens);
    EXPECT_EQ(DefinedObjects(), std::vector<std::string>{c.expected}) << c.source << "/" << c.nth;
    EXPECT_EQ(run.Errors(1).size(), c.messages);
    EXPECT_EQ(CallLines("Kv_Add_Empty_Node"), std::vector<std::string>{"Kv_Add_Empty_Node(instance \"LOD\" .)"});
  }
}

TEST(GroupHierarchy, SwitchAndArrayFollowCoinsTraversal) {
  plugin_test::Conversion run;
  run.ConvertText(
      "#Inventor V2.1 ascii\nSeparator {\n"
      "  Switch { whichChild -1 Cube {} }\n"
      "  LOD { }\n"
      "  Array { numElements1 3 separation1 2 0 0 numElements2 1 numElements3 1 Sphere {} }\n"
      "}\n",
      kQuick);
  EXPECT_EQ(CallLines("Kv_Add_Empty_Node"), (std::vector<std::string>{"Kv_Add_Empty_Node(instance \"Switch\" .)",
                                                                      "Kv_Add_Empty_Node(instance \"LOD\" .)",
                                                                      "Kv_Add_Empty_Node(instance \"Array\" .)"}));
  EXPECT_EQ(DefinedObjects(), (std::vector<std::string>{"Sphere", "Sphere #2", "Sphere #3"}));
  // Each copy's instance carries its own translation.
  std::vector<float> x;
  for (const kavrel::JournalEntry *entry : kavrel::CurrentHost().journal().calls("Kv_Transform")) {
    const std::vector<float> matrix = plugin_test::FloatsAfter(*entry, "matrix");
    if (entry->items.at(1).text.rfind("Sphere", 0) == 0) x.push_back(matrix.at(12));
  }
  EXPECT_EQ(x, (std::vector<float>{0, 2, 4}));
}

}  // namespace
