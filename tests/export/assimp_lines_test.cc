// Line segments through assimp: COLLADA keeps them as <lines>, which
// assimp reads back as faces of two indices; the formats that cannot hold
// them leave them out.
#include <gtest/gtest.h>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "export_fixtures.h"

namespace kavrel_test {
namespace {

TEST(AssimpLines, ColladaKeepsSegmentsAndStlLeavesThemOut) {
  kavrel::Host host;
  BuildLinesScene(host.scene());
  std::string error;
  kavrel::ExportSummary dae, stl;
  ASSERT_TRUE(ExportScene(host, TempDir() + "/lines.dae", kavrel::ExportFormat::kDae, &error, &dae)) << error;
  ASSERT_TRUE(ExportScene(host, TempDir() + "/lines.stl", kavrel::ExportFormat::kStl, &error, &stl)) << error;
  EXPECT_EQ(dae.lines, 4u);
  EXPECT_EQ(dae.triangles, 4u);
  EXPECT_EQ(dae.points, 0u);
  EXPECT_EQ(stl.triangles, 4u);
  EXPECT_EQ(stl.lines, 0u);

  Assimp::Importer importer;
  const aiScene *read = importer.ReadFile(TempDir() + "/lines.dae", 0);
  ASSERT_NE(read, nullptr) << importer.GetErrorString();
  size_t segments = 0, triangles = 0;
  for (unsigned m = 0; m < read->mNumMeshes; ++m) {
    const aiMesh &mesh = *read->mMeshes[m];
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      ASSERT_TRUE(mesh.mFaces[f].mNumIndices == 2 || mesh.mFaces[f].mNumIndices == 3);
      (mesh.mFaces[f].mNumIndices == 2 ? segments : triangles) += 1;
    }
  }
  EXPECT_EQ(segments, 4u);
  EXPECT_EQ(triangles, 4u);
}

}  // namespace
}  // namespace kavrel_test
