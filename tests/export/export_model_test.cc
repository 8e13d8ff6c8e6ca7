// The export model every writer reads: placements in the hierarchy's
// order with world matrices and mirroring, objects with the same mesh
// bytes sharing one mesh, a material per surface and sidedness, the lights
// that are on.
#include <gtest/gtest.h>

#include "export_fixtures.h"
#include "kavrel/export/export_model.h"

namespace kavrel_test {
namespace {

using kavrel::ExportModel;
using kavrel::kNone;
using kavrel::Matrix;

TEST(ExportModel, PlacementsShareMeshesAndKnowTheirWorldAndMirroring) {
  kavrel::Host host;
  Scene &s = host.scene();
  for (const char *name : {"red", "green"}) s.surfaces.get_or_add(name);
  AddInstance(s, "parent").matrix = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 0, 0, 1};
  kavrel::Instance &mirrored = AddInstance(s, "mirrored", "parent");
  mirrored.matrix = {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 2, 0, 1};
  mirrored.object = AddObject(s, "a", TwoSquares());
  mirrored.surface = "red";
  kavrel::Instance &plain = AddInstance(s, "plain", "parent");
  plain.object = AddObject(s, "b", TwoSquares());  // the same bytes as "a"
  plain.surface = "green";
  AddInstance(s, "gone", "parent").removed = true;
  s.lights.get_or_add("on");
  s.lights.get_or_add("off").enabled = false;

  const ExportModel model = kavrel::BuildExportModel(s);
  ASSERT_EQ(model.placements.size(), 3u);  // "gone" is left out
  const kavrel::ModelPlacement &p = model.placements[0], &m = model.placements[1], &q = model.placements[2];
  EXPECT_EQ(p.name + m.name + q.name, "parentmirroredplain");
  EXPECT_EQ(m.parent, 0);
  EXPECT_EQ(m.world, (Matrix{-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 2, 0, 1}));
  EXPECT_TRUE(m.mirrors);
  EXPECT_FALSE(p.mirrors || q.mirrors);
  EXPECT_EQ(p.mesh, kNone);

  ASSERT_EQ(model.meshes.size(), 1u);
  EXPECT_EQ(model.meshes[0].name, "a");       // named after the first placed
  EXPECT_TRUE(model.meshes[0].instance_surface);
  EXPECT_EQ(m.mesh, 0);
  EXPECT_EQ(q.mesh, 0);
  ASSERT_EQ(model.objects.size(), 2u);
  EXPECT_EQ(model.objects[1].name, "b");
  ASSERT_NE(m.instance_material, q.instance_material);
  EXPECT_EQ(model.materials[m.instance_material].name, "red");
  EXPECT_EQ(model.materials[q.instance_material].name, "green");
  EXPECT_EQ(model.materials.size(), 2u);
  ASSERT_EQ(model.lights.size(), 1u);
  EXPECT_EQ(model.lights[0].name, "on");
}

}  // namespace
}  // namespace kavrel_test
