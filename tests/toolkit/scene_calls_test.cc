// The hierarchy an importer builds: objects, instances, attachment,
// transformation, queries, mesh operations and the optimisers.
#include "tests/toolkit/toolkit_fixture.h"

namespace {

// In the scene of the host the calls reach: the test's.
const kavrel::Instance &InstanceNamed(const std::string &name) {
  const kavrel::Scene &scene = kavrel::CurrentHost().scene();
  return scene.instances.items[scene.instances.find_index(name)];
}

// Two triangles of a unit square whose shared corners are separate vertices.
void DefineSquare(const char *name) {
  kv_list(Kv_Object_Define, name);
  kavrel::Mesh &mesh = kavrel::CurrentHost().scene().objects.find(name)->mesh;
  mesh.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  mesh.face_sizes = {3, 3};
  mesh.position_index = {0, 1, 2, 3, 4, 5};
  Kv_Object_End(KV_LIST_END);
}

int32_t Exists(const char *name, const char *kind) {
  int32_t exists = -1;
  kv_list(Kv_Handle_Name_Exists, name, &exists, tok(kind));
  return exists;
}

TEST_F(ToolkitTest, AnImportBuildsItsHierarchyBelowWorld) {
  kv_list(Kv_Add_Empty_Node, tok("instance"), "root");
  kv_list(Kv_Add_Empty_Node, tok("instance"), "Group");
  DefineSquare("Cube");
  EXPECT_TRUE(db().objects.find("Cube")->defined);
  EXPECT_EQ(db().objects.find("Cube")->bbox_max, (kavrel::Vec3{1, 1, 0}));
  kv_list(Kv_Add_Instance, tok("instance"), "Cube", tok("object"), "Cube");
  kv_list(Kv_Instance, "Cube", tok("hidden"), tok("enabled"), tok("on"));
  kv_list(Kv_Attach, tok("instance"), "Cube", tok("instance"), "root");
  kv_list(Kv_Attach, tok("instance"), "Group", tok("instance"), "root");
  kv_list(Kv_Attach, tok("instance"), "Cube", tok("instance"), "Group");  // moves it

  EXPECT_EQ(Last("Kv_Attach"), "Kv_Attach(instance \"Cube\" instance \"Group\" .)");
  int32_t group = db().instances.find_index("Group");
  EXPECT_EQ(InstanceNamed("root").parent, 0);
  EXPECT_EQ(InstanceNamed("root").children, std::vector<int32_t>{group});
  EXPECT_EQ(InstanceNamed("Cube").parent, group);
  EXPECT_TRUE(InstanceNamed("Cube").hidden);
  EXPECT_EQ(InstanceNamed("Cube").object, db().objects.find_index("Cube"));

  int32_t count = -1;
  kv_list(Kv_Inquire_Instance, "root", tok("numchildren"), &count);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(Exists("Group", "instance"), 1);
  EXPECT_EQ(Exists("Group", "object"), 0);
  kv_list(Kv_Remove, tok("instance"), "Group");
  EXPECT_EQ(Exists("Cube", "instance"), 0);
  EXPECT_TRUE(InstanceNamed("root").children.empty());
  EXPECT_TRUE(errors.empty());
}

TEST_F(ToolkitTest, PremultiplyAppliesTheGivenMatrixBeforeTheInstancesOwn) {
  kv_list(Kv_Add_Empty_Node, tok("instance"), "root");
  float scale[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1};
  float move[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 0, 0, 1};
  kv_list(Kv_Transform, tok("instance"), "root", tok("premultiply"), tok("matrix"), move);
  kv_list(Kv_Transform, tok("instance"), "root", tok("premultiply"), tok("matrix"), scale);
  // p x (S x T): scaled first, then moved, so the translation stays 5.
  kavrel::Matrix m = InstanceNamed("root").matrix;
  EXPECT_FLOAT_EQ(m[0], 2);
  EXPECT_FLOAT_EQ(m[12], 5);
  EXPECT_EQ(Last("Kv_Transform"),
            "Kv_Transform(instance \"root\" premultiply matrix [2 0 0 0 0 2 0 0 0 0 2 0 0 0 0 1] .)");

  // A child's world matrix: its own first, then its parent's.
  kv_list(Kv_Add_Empty_Node, tok("instance"), "child");
  kv_list(Kv_Transform, tok("instance"), "child", tok("premultiply"), tok("matrix"), move);
  kv_list(Kv_Attach, tok("instance"), "child", tok("instance"), "root");
  kavrel::Matrix world = kavrel::WorldMatrix(db(), db().instances.find_index("child"));
  EXPECT_FLOAT_EQ(world[12], 15);  // (5 x 2) + 5
}

TEST_F(ToolkitTest, MeshListsReachTheMeshOperations) {
  DefineSquare("Square");
  float threshold = 0.001f, angle = 30, merge_angle = 1;
  kv_list(Kv_Manipulate_IndexedPolygons, "Square", intptr_t{0}, tok("combine"), tok("vertex"), &threshold);
  EXPECT_EQ(db().objects.find("Square")->mesh.positions.size(), 4u);
  kv_list(Kv_Manipulate_IndexedPolygons, "Square", intptr_t{0}, tok("calcnormals"), tok("angle"), &angle);
  kv_list(Kv_Manipulate_IndexedPolygons, "Square", intptr_t{0}, tok("merge"), tok("quads"), tok("enabled"),
          tok("on"), tok("angle"), &merge_angle);
  EXPECT_EQ(Last("Kv_Manipulate_IndexedPolygons"),
            "Kv_Manipulate_IndexedPolygons(\"Square\" <0> merge quads enabled on angle [1] .)");
  EXPECT_EQ(db().objects.find("Square")->mesh.face_sizes, std::vector<int32_t>{4});
  EXPECT_TRUE(errors.empty());
}

// root - A - B - leaf(object)    chain folds into leaf
//      - E1 - E2                  empty, removed
//      - Shape(object)
TEST_F(ToolkitTest, OptimisersRemoveEmptyLeavesAndFoldChains) {
  DefineSquare("mesh");
  for (const char *name : {"root", "A", "B", "E1", "E2"}) kv_list(Kv_Add_Empty_Node, tok("instance"), name);
  for (const char *name : {"leaf", "Shape"}) kv_list(Kv_Add_Instance, tok("instance"), name, tok("object"), "mesh");
  auto attach = [](const char *child, const char *parent) {
    kv_list(Kv_Attach, tok("instance"), child, tok("instance"), parent);
  };
  attach("A", "root"), attach("B", "A"), attach("leaf", "B"), attach("E1", "root"), attach("E2", "E1");
  attach("Shape", "root");

  int32_t removed = -1, merged = -1;
  Kv_OptimizeHierarchy("root", &removed, &merged);
  EXPECT_EQ(removed, 2);
  EXPECT_EQ(merged, 0);
  EXPECT_EQ(Exists("E1", "instance"), 0);
  Kv_OptimizeHierarchy2("world", &removed, &merged);
  EXPECT_EQ(merged, 2);
  int32_t leaf = db().instances.find_index("leaf");
  EXPECT_EQ(InstanceNamed("leaf").parent, db().instances.find_index("root"));
  EXPECT_EQ(InstanceNamed("root").children, (std::vector<int32_t>{leaf, db().instances.find_index("Shape")}));

  // A root with nothing below it goes too, and the importer then sees it gone.
  kv_list(Kv_Add_Empty_Node, tok("instance"), "empty root");
  Kv_OptimizeHierarchy("empty root", &removed, &merged);
  EXPECT_EQ(removed, 1);
  EXPECT_EQ(Exists("empty root", "instance"), 0);
  EXPECT_EQ(db().instances.items[0].children.size(), 1u);
  EXPECT_TRUE(errors.empty());
}

TEST_F(ToolkitTest, AChainRootFoldsIntoItsOnlyChild) {
  DefineSquare("mesh");
  kv_list(Kv_Add_Empty_Node, tok("instance"), "root");
  kv_list(Kv_Add_Instance, tok("instance"), "only", tok("object"), "mesh");
  kv_list(Kv_Attach, tok("instance"), "only", tok("instance"), "root");
  int32_t removed = -1, merged = -1;
  Kv_OptimizeHierarchy2("root", &removed, &merged);
  EXPECT_EQ(merged, 1);
  EXPECT_EQ(Exists("root", "instance"), 0);
  EXPECT_EQ(db().instances.items[0].children, std::vector<int32_t>{db().instances.find_index("only")});
}

}  // namespace
