// Our FBX read back by assimp's importer, against our own .glb of the same
// model: every model of the Inventor data package converts to both, and
// every triangle of the .glb lands in the same place in world space, with
// its material's colour and opacity, in the FBX (shared meshes, the glider's
// sheared placements, mirroring, lights and cameras among them), whose nodes
// carry the same names. Placements of one mesh share its geometry where
// their materials agree. A textured material names the image copied beside
// the .fbx.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "convert_process.h"
#include "corpus_read_back.h"
#include "output_content.h"
#include "world_triangles.h"

namespace kavrel_test {
namespace {

namespace fs = std::filesystem;

// Positions agree to a part in 10^5 of the model's size (floats through
// doubles and back, Euler angles through sines).
float Tolerance(const std::vector<Triangle> &triangles) {
  float extent = 0;
  for (const Triangle &t : triangles)
    for (const Vec &p : t.p) extent = std::fmax(extent, std::fmax(std::fabs(p.x), std::fmax(std::fabs(p.y), std::fabs(p.z))));
  return 1e-5f * extent + 1e-6f;
}

TEST(FbxReadBack, EveryCorpusModelLandsWhereItsGlbPutsIt) {
  ScratchDirectory scratch;
  if (!kCorpusReadBack) return ConvertFormatSample(scratch, ".fbx");
  for (const std::string format : {"glb", "fbx"}) {
    // Files of the package that do not convert fail in both formats alike.
    RunConvert(scratch, {"-q", "-j", "2", "--format", format, "--output-dir", format, KAVREL_INVENTOR_MODELS},
               scratch.path());
  }
  size_t compared = 0;
  for (const fs::directory_entry &entry : fs::recursive_directory_iterator(scratch.path() + "/glb")) {
    if (entry.path().extension() != ".glb") continue;
    ++compared;
    const fs::path relative = fs::relative(entry.path(), scratch.path() + "/glb");
    const std::string fbx = (fs::path(scratch.path()) / "fbx" / relative).replace_extension(".fbx").string();
    ASSERT_TRUE(fs::exists(fbx)) << relative;
    const WorldScene expected = GltfScene(entry.path().string()), actual = AssimpScene(fbx);
    EXPECT_EQ(actual.triangles.size(), expected.triangles.size()) << relative;
    EXPECT_EQ(actual.names, expected.names) << relative;
    EXPECT_EQ(UnmatchedTriangles(expected.triangles, actual.triangles, Tolerance(expected.triangles)),
              std::vector<std::string>{})
        << relative;
  }
  EXPECT_GT(compared, 90u);
}

TEST(FbxReadBack, PlacementsOfOneMeshShareItsGeometryWhereTheirMaterialsAgree) {
  // FBX keeps materials on the models; a geometry shared by models with
  // different materials would take the first one's colours in Blender.
  ScratchDirectory scratch;
  scratch.Write("boxes.iv",
                "#Inventor V2.1 ascii\n\nSeparator {\n"
                "  Separator { Material { diffuseColor 1 0 0 } DEF box Cube {} }\n"
                "  Separator { Translation { translation 3 0 0 } Material { diffuseColor 1 0 0 } USE box }\n"
                "  Separator { Translation { translation 6 0 0 } Material { diffuseColor 0 0 1 } USE box }\n}\n");
  const ProcessResult run = RunConvert(scratch, {"-q", "-o", "boxes.fbx", "boxes.iv"}, scratch.path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ContentCounts(scratch.path() + "/boxes.fbx")["meshes"], 2);
  const WorldScene scene = AssimpScene(scratch.path() + "/boxes.fbx");
  ASSERT_EQ(scene.triangles.size(), 36u);
  for (const Triangle &t : scene.triangles) {
    const bool third = (t.p[0].x + t.p[1].x + t.p[2].x) / 3 > 4.5f;
    EXPECT_EQ(t.color[0], third ? 0.0f : 1.0f);
    EXPECT_EQ(t.color[2], third ? 1.0f : 0.0f);
  }
}

TEST(FbxReadBack, ATexturedMaterialNamesTheImageCopiedBesideTheFbx) {
  ScratchDirectory scratch;
  ASSERT_EQ(mkdir((scratch.path() + "/out").c_str(), 0755), 0);
  const ProcessResult run = RunConvert(
      scratch, {"-q", "-o", "out/textured.fbx", std::string(KAVREL_INVENTOR_MODELS) + "/simple/texture.iv"},
      scratch.path());
  ASSERT_EQ(run.status, 0) << run.err;
  Assimp::Importer importer;
  const aiScene *scene = importer.ReadFile(scratch.path() + "/out/textured.fbx", 0);
  ASSERT_NE(scene, nullptr) << importer.GetErrorString();
  int textured = 0;
  for (unsigned m = 0; m < scene->mNumMaterials; ++m) {
    aiString file;
    if (scene->mMaterials[m]->GetTexture(aiTextureType_DIFFUSE, 0, &file) != AI_SUCCESS) continue;
    ++textured;
    EXPECT_TRUE(fs::is_regular_file(scratch.path() + "/out/" + file.C_Str())) << file.C_Str();
  }
  EXPECT_GT(textured, 0);
}

}  // namespace
}  // namespace kavrel_test
