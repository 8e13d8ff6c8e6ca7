// The root instance of an import and the gathering of its meshes into few objects.
#include <algorithm>
#include <cmath>

#include "host/import_io.h"
#include "host_fixture.h"
#include "kavrel/toolkit/instance_tree.h"

namespace {

using kavrel::Matrix;
using kavrel::Mesh;
using kavrel::Vec3;

// A unit square and a triangle above it, with normals matching their winding.
Mesh SquareAndTriangle() {
  Mesh mesh;
  mesh.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {0, 1, 1}};
  mesh.position_index = {0, 1, 2, 3, 4, 5, 6};
  mesh.normals = {{0, 0, 1}};
  mesh.normal_index = {0, 0, 0, 0, 0, 0, 0};
  mesh.face_sizes = {4, 3};
  return mesh;
}

int32_t AddObject(const std::string &name, Mesh mesh) {
  kavrel::Object &object = kavrel::CurrentHost().scene().objects.get_or_add(name);
  object.mesh = std::move(mesh);
  object.defined = true;
  return kavrel::CurrentHost().scene().objects.find_index(name);
}

int32_t Place(const std::string &name, int32_t parent, const Matrix &matrix, int32_t object,
              const std::string &surface = "", bool hidden = false) {
  kavrel::Scene &scene = kavrel::CurrentHost().scene();
  const int32_t at = kavrel::AddInstance(scene, name);
  kavrel::AttachInstance(scene, at, parent);
  kavrel::Instance &instance = scene.instances.items[at];
  instance.matrix = matrix;
  instance.object = object;
  instance.surface = surface;
  instance.hidden = hidden;
  return at;
}

Vec3 Transform(const Vec3 &p, const Matrix &m) {
  Vec3 out;
  for (int j = 0; j < 3; ++j) out[j] = p[0] * m[j] + p[1] * m[4 + j] + p[2] * m[8 + j] + m[12 + j];
  return out;
}

// Every polygon below root in world space, as a sorted list of rounded corners.
std::vector<std::vector<std::array<long, 3>>> WorldPolygons(int32_t root) {
  const kavrel::Scene &scene = kavrel::CurrentHost().scene();
  std::vector<std::vector<std::array<long, 3>>> polygons;
  std::vector<int32_t> pending(scene.instances.items[root].children);
  while (!pending.empty()) {
    const kavrel::Instance &instance = scene.instances.items[pending.back()];
    const Matrix world = kavrel::WorldMatrix(scene, pending.back());
    pending.pop_back();
    pending.insert(pending.end(), instance.children.begin(), instance.children.end());
    if (instance.object < 0) continue;
    const Mesh &mesh = scene.objects.items[instance.object].mesh;
    size_t corner = 0;
    for (int32_t size : mesh.face_sizes) {
      std::vector<std::array<long, 3>> rounded;
      for (int32_t k = 0; k < size; ++k, ++corner) {
        const Vec3 p = Transform(mesh.positions[mesh.position_index[corner]], world);
        rounded.push_back({std::lround(p[0] * 1000), std::lround(p[1] * 1000), std::lround(p[2] * 1000)});
      }
      std::sort(rounded.begin(), rounded.end());
      polygons.push_back(rounded);
    }
  }
  std::sort(polygons.begin(), polygons.end());
  return polygons;
}

// Polygons whose corner order turns against their stored normal.
int Backwards(const Mesh &mesh) {
  int backwards = 0;
  size_t corner = 0;
  for (int32_t size : mesh.face_sizes) {
    const Vec3 &a = mesh.positions[mesh.position_index[corner]], &b = mesh.positions[mesh.position_index[corner + 1]],
               &c = mesh.positions[mesh.position_index[corner + 2]], &n = mesh.normals[mesh.normal_index[corner]];
    const Vec3 u{b[0] - a[0], b[1] - a[1], b[2] - a[2]}, v{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const float facing = (u[1] * v[2] - u[2] * v[1]) * n[0] + (u[2] * v[0] - u[0] * v[2]) * n[1] +
                         (u[0] * v[1] - u[1] * v[0]) * n[2];
    backwards += facing <= 0;
    corner += size;
  }
  return backwards;
}

}  // namespace

using RootInstanceTest = HostTest;

TEST_F(RootInstanceTest, NamedAfterTheFileUniqueAndAttachedBelowWorld) {
  char name[512];
  Import_IO_MakeSaveAndAttachRootInstance("/models/v1.2/teapot.iv", name);
  EXPECT_STREQ(name, "teapot");
  const kavrel::Instance *root = host_.scene().instances.find("teapot");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->parent, kavrel::kWorld);
  EXPECT_STREQ(Import_IO_Get_Root_Imported_Instance_Name(), "teapot");

  Import_IO_MakeSaveAndAttachRootInstance("C:\\other\\teapot.wrl", name);
  EXPECT_STREQ(name, "teapot #2");
  Import_IO_Set_Root_Imported_Instance_Name("world");
  EXPECT_STREQ(Import_IO_Get_Root_Imported_Instance_Name(), "world");
}

TEST_F(RootInstanceTest, MovingChildrenToNewObjectsKeepsEveryPolygonWhereItWas) {
  kavrel::Scene &scene = host_.scene();
  const int32_t shape = AddObject("Shape", SquareAndTriangle());
  const int32_t only_below = AddObject("OnlyBelow", SquareAndTriangle());
  const int32_t root = Place("model", kavrel::kWorld, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1}, kavrel::kNone);
  // A turned and moved group; below it a stretched, a mirrored and a hidden shape.
  const int32_t group = Place("group", root, {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}, kavrel::kNone, "red");
  Place("stretched", group, {2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 3, 0, 0, 0, 0, 1}, shape);
  Place("mirrored", group, {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 0, 0, 1}, shape, "red");
  Place("hidden", root, kavrel::IdentityMatrix(), only_below, "blue", true);
  Place("elsewhere", kavrel::kWorld, kavrel::IdentityMatrix(), shape);
  const auto before = WorldPolygons(root);

  EXPECT_EQ(Import_IO_RecursivelyMoveChildrenOfRootInstanceToNewObjects(0, "model", 0, 0, 0), 0);

  EXPECT_EQ(WorldPolygons(root), before);
  // One object for the red shapes, one for the hidden blue one.
  const kavrel::Instance &model = scene.instances.items[root];
  ASSERT_EQ(model.children.size(), 2u);
  const kavrel::Instance &red = scene.instances.items[model.children[0]];
  const kavrel::Instance &blue = scene.instances.items[model.children[1]];
  EXPECT_EQ(red.surface, "red");
  EXPECT_FALSE(red.hidden);
  EXPECT_EQ(blue.surface, "blue");
  EXPECT_TRUE(blue.hidden);
  const Mesh &gathered = scene.objects.items[red.object].mesh;
  EXPECT_EQ(gathered.face_sizes.size(), 4u);
  // The mirrored shape's winding was turned over with its normals.
  EXPECT_EQ(Backwards(gathered), 0);
  for (const char *gone : {"group", "stretched", "mirrored", "hidden"})
    EXPECT_EQ(scene.instances.find(gone), nullptr) << gone;
  EXPECT_EQ(scene.objects.find("OnlyBelow"), nullptr);
  EXPECT_NE(scene.objects.find("Shape"), nullptr) << "still placed outside the root";
}

TEST_F(RootInstanceTest, MovingChildrenOfAMissingRootIsReported) {
  EXPECT_NE(Import_IO_RecursivelyMoveChildrenOfRootInstanceToNewObjects(0, "nothing", 0, 0, 0), 0);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].first, 4);
}

TEST_F(RootInstanceTest, LinesGatherApartFromFaces) {
  Mesh wire;
  wire.positions = {{0, 0, 0}, {0, 0, 4}};
  wire.position_index = {0, 1, 1};
  wire.face_sizes = {2, 1};
  const int32_t wire_object = AddObject("Wire", wire), shape = AddObject("Shape", SquareAndTriangle());
  const int32_t root = Place("model", kavrel::kWorld, kavrel::IdentityMatrix(), kavrel::kNone);
  Place("wire", root, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 3, 0, 1}, wire_object, "red");
  Place("shape", root, kavrel::IdentityMatrix(), shape, "red");
  Place("wire again", root, kavrel::IdentityMatrix(), wire_object, "red");
  const auto before = WorldPolygons(root);

  EXPECT_EQ(Import_IO_RecursivelyMoveChildrenOfRootInstanceToNewObjects(0, "model", 0, 0, 0), 0);

  EXPECT_EQ(WorldPolygons(root), before);
  const kavrel::Scene &scene = host_.scene();
  const kavrel::Instance &model = scene.instances.items[root];
  ASSERT_EQ(model.children.size(), 2u);
  const Mesh &lines = scene.objects.items[scene.instances.items[model.children[0]].object].mesh;
  const Mesh &faces = scene.objects.items[scene.instances.items[model.children[1]].object].mesh;
  EXPECT_EQ(lines.face_sizes, (std::vector<int32_t>{2, 1, 2, 1}));
  EXPECT_TRUE(lines.normals.empty()) << "no faces' normals made up for the lines";
  EXPECT_EQ(faces.face_sizes, (std::vector<int32_t>{4, 3}));
}
