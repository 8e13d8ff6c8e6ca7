// Lists and names a host must refuse: a level-4 report naming the call, the
// journal marks the call, and only what decoded before the problem applies.
#include "tests/toolkit/toolkit_fixture.h"

namespace {

TEST_F(ToolkitTest, AnUnknownKeywordStopsTheListAfterWhatDecoded) {
  float red[3] = {1, 0, 0}, half = 0.5f;
  int status = kv_list(Kv_Light, "lamp", tok("color"), tok("rgb"), red, kGroup, tok("colour"), tok("rgb"), red,
                       kGroup, tok("intensity"), &half);
  EXPECT_EQ(status, 1);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "level 4: Kv_Light(\"lamp\"): unknown keyword \"colour\"");
  EXPECT_EQ(Last("Kv_Light"), "Kv_Light(\"lamp\" color rgb [1 0 0] | colour) !! unknown keyword \"colour\"");
  EXPECT_EQ(db().lights.find("lamp")->color, (kavrel::Vec3{1, 0, 0}));
  EXPECT_FLOAT_EQ(db().lights.find("lamp")->intensity, 1.0f);
}

TEST_F(ToolkitTest, ValuesThatAreMissingOrOfTheWrongKindAreRefused) {
  float one = 1;
  struct Case {
    int status;
    std::string journal;
  };
  std::vector<Case> cases = {
      {kv_list(Kv_Light, "a", tok("intensity")),
       "Kv_Light(\"a\" intensity .) !! value missing before the list end for \"intensity\""},
      {kv_list(Kv_Light, "b", tok("intensity"), tok("on")),
       "Kv_Light(\"b\" intensity) !! expected a pointer to floats, found token \"on\" for \"intensity\""},
      {kv_list(Kv_Light, "c", tok("intensity"), kGroup, &one),
       "Kv_Light(\"c\" intensity) !! expected a pointer to floats, found the group end for \"intensity\""},
      {kv_list(Kv_Light, "d", tok("enabled"), tok("maybe")),
       "Kv_Light(\"d\" enabled maybe) !! \"maybe\" is not one of: on off for \"enabled\""},
      {kv_list(Kv_Light, "e", 7), "Kv_Light(\"e\") !! expected a keyword, found the number 7"},
      {kv_list(Kv_Surface, "f", tok("specularcolor"), kGroup),
       "Kv_Surface(\"f\" specularcolor |) !! keywords missing after \"specularcolor\""},
      {kv_list(Kv_Surface, static_cast<const char *>(nullptr)), "Kv_Surface(*) !! surface name is a null pointer"},
  };
  for (const Case &c : cases) EXPECT_EQ(c.status, 1) << c.journal;
  std::vector<std::string> refused;
  for (const auto &entry : host_.journal().entries()) {
    if (!entry.error.empty()) refused.push_back(entry.to_string());
  }
  ASSERT_EQ(refused.size(), cases.size());
  for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(refused[i], cases[i].journal);
  EXPECT_EQ(errors.size(), cases.size());
  EXPECT_EQ(db().lights.find("a"), nullptr);
}

TEST_F(ToolkitTest, NamesThatDoNotExistAreReportedWithoutEffect) {
  kv_list(Kv_Add_Empty_Node, tok("instance"), "root");
  float m[16] = {};
  int32_t answer = 0;
  EXPECT_EQ(kv_list(Kv_Attach, tok("instance"), "root", tok("instance"), "nowhere"), 1);
  EXPECT_EQ(kv_list(Kv_Transform, tok("instance"), "ghost", tok("premultiply"), tok("matrix"), m), 1);
  EXPECT_EQ(kv_list(Kv_Surfacelink, tok("surface"), "none", tok("instance"), "root"), 1);
  EXPECT_EQ(kv_list(Kv_Add_Instance, tok("instance"), "shape", tok("object"), "missing"), 1);
  EXPECT_EQ(kv_list(Kv_Add_Empty_Node, tok("surface"), "wrong kind"), 1);
  EXPECT_EQ(kv_list(Kv_Add_Empty_Node, tok("instance"), "root"), 1);
  EXPECT_EQ(kv_list(Kv_Attach, tok("instance"), "world", tok("instance"), "root"), 1);
  EXPECT_EQ(Kv_Object_End(KV_LIST_END), 1);
  EXPECT_EQ(kv_list(Kv_Inquire_Instance, "ghost", tok("numchildren"), &answer), 1);
  EXPECT_EQ(kv_list(Kv_Handle_Name_Exists, "root", &answer, tok("color")), 1);
  EXPECT_EQ(kv_list(Kv_Remove, tok("outputdriver"), "never made"), 1);
  EXPECT_EQ(errors.size(), 11u);
  EXPECT_EQ(errors[0], "level 4: Kv_Attach(\"root\"): no instance named \"nowhere\"");
  EXPECT_EQ(db().instances.items[0].children.size(), 1u);
  EXPECT_EQ(db().instances.find("shape"), nullptr);
}

TEST_F(ToolkitTest, NullPointersInPlainCallsAreReported) {
  float v[3] = {3, 4, 0};
  Kv_Vector_Normalize(nullptr);
  Kv_Matrix_Multiply(1, nullptr, nullptr, nullptr);
  Kv_Vector_Transform(1, 1, 1, 1, 1, 1, v, nullptr, v);
  EXPECT_EQ(Kv_Determine_Image_File_Type(nullptr, nullptr), 1);
  Kv_Convert_Pathname(nullptr);
  EXPECT_EQ(Kv_OptimizeHierarchy("world", nullptr, nullptr), 1);
  EXPECT_EQ(errors.size(), 6u);
  EXPECT_EQ(v[0], 3);  // left alone
}

}  // namespace
