// Outputs other than glTF, read back by assimp's importer, and the glTF
// materials' sidedness, through kavrel-convert as users run it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <nlohmann/json.hpp>

#include "convert_process.h"
#include "output_content.h"

namespace kavrel_test {
namespace {

bool Exists(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

struct Placed {
  long triangles = 0;                          // faces of every node's meshes, per placement
  long meshes = 0;                             // mesh references of all nodes
};

void AddPlaced(const aiScene &scene, const aiNode &node, Placed *placed) {
  placed->meshes += node.mNumMeshes;
  for (unsigned i = 0; i < node.mNumMeshes; ++i) placed->triangles += scene.mMeshes[node.mMeshes[i]]->mNumFaces;
  for (unsigned i = 0; i < node.mNumChildren; ++i) AddPlaced(scene, *node.mChildren[i], placed);
}

ProcessResult Convert(const ScratchDirectory &scratch, const std::string &output, const std::string &model) {
  return RunConvert(scratch, {"-o", output, std::string(KAVREL_INVENTOR_MODELS) + "/" + model}, scratch.path());
}

TEST(ConvertFormats, EachFormatReadsBackWithItsTrianglesAndPlacements) {
  // Instances (the windmill's sails share meshes), per-face materials and
  // an extracted texture image.
  for (const char *model : {"buildings/windmill.iv", "scenes/chesschairs.iv", "simple/texture.iv"}) {
    ScratchDirectory scratch;
    // STL holds every placement in world space: the reference.
    ProcessResult stl = Convert(scratch, "model.stl", model);
    ASSERT_EQ(stl.status, 0) << model << stl.err;
    const long triangles = SummaryCounts(stl.out)["triangles"];
    ASSERT_GT(triangles, 0) << stl.out;
    // OBJ keeps a group per placed mesh, in world space.
    ProcessResult obj = Convert(scratch, "model.obj", model);
    ASSERT_EQ(obj.status, 0) << model << obj.err;
    const long placed_meshes = SummaryCounts(obj.out)["meshes"];
    // 3MF, which assimp 5.2 cannot read, is read by lib3mf in cli_threemf_test.cc.
    for (const char *extension : {"stl", "ply", "obj", "dae", "x3d", "fbx"}) {
      const std::string output = std::string("model.") + extension;
      ProcessResult run = Convert(scratch, output, model);
      ASSERT_EQ(run.status, 0) << model << " " << extension << run.err;
      Assimp::Importer importer;
      const aiScene *scene = importer.ReadFile(scratch.path() + "/" + output, 0);
      ASSERT_NE(scene, nullptr) << model << " " << extension << ": " << importer.GetErrorString();
      Placed placed;
      AddPlaced(*scene, *scene->mRootNode, &placed);
      EXPECT_EQ(placed.triangles, triangles) << model << " " << extension;
      const bool one_mesh = extension == std::string("stl") || extension == std::string("ply");
      EXPECT_EQ(placed.meshes, one_mesh ? 1 : placed_meshes) << model << " " << extension;
      if (!one_mesh) continue;
      EXPECT_EQ(SummaryCounts(run.out)["bytes"], static_cast<long>(ReadFile(scratch.path() + "/" + output).size()));
    }
  }
}

TEST(ConvertFormats, ObjMaterialsNameTextureFilesCopiedBesideIt) {
  ScratchDirectory scratch;
  ASSERT_EQ(mkdir((scratch.path() + "/out").c_str(), 0755), 0);
  ProcessResult run = Convert(scratch, "out/textured.obj", "simple/texture.iv");
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream mtl(ReadFile(scratch.path() + "/out/textured.mtl"));
  int maps = 0;
  for (std::string line; std::getline(mtl, line);) {
    if (line.rfind("map_Kd ", 0) != 0) continue;
    ++maps;
    EXPECT_TRUE(Exists(scratch.path() + "/out/" + line.substr(7))) << line;
  }
  EXPECT_GT(maps, 0);
  EXPECT_EQ(SummaryCounts(run.out)["textures"], 1) << run.out;
}

// Every input calls its embedded image texture.tif: outputs that share a
// folder keep their own copies, named after them.
TEST(ConvertFormats, ExtractedImagesOfOutputsInOneFolderKeepTheirOwnCopies) {
  ScratchDirectory scratch;
  ASSERT_EQ(mkdir((scratch.path() + "/out").c_str(), 0755), 0);
  for (const char *stem : {"red", "blue"}) {
    const std::string pixel = stem == std::string("red") ? "0xff0000" : "0x0000ff";
    scratch.Write(std::string(stem) + ".iv",
                  "#Inventor V2.1 ascii\nSeparator { Texture2 { image 1 1 3 " + pixel + " } Cube {} }\n");
    for (const char *extension : {".obj", ".wrl"}) {
      ProcessResult run = RunConvert(scratch, {"-o", "out/" + std::string(stem) + extension, std::string(stem) + ".iv"},
                                     scratch.path());
      ASSERT_EQ(run.status, 0) << run.err;
    }
  }
  EXPECT_NE(ReadFile(scratch.path() + "/out/red_texture.tif"), ReadFile(scratch.path() + "/out/blue_texture.tif"));
  EXPECT_NE(ReadFile(scratch.path() + "/out/red.mtl").find("map_Kd red_texture.tif"), std::string::npos);
  EXPECT_NE(ReadFile(scratch.path() + "/out/blue.wrl").find("\"blue_texture.tif\""), std::string::npos);
}

TEST(ConvertFormats, AFailedWriteLeavesNoFileUnderTheOutputsNames) {
  // Each format that copies texture files beside its output.
  for (const char *extension : {"obj", "wrl", "x3d"}) {
    ScratchDirectory scratch;
    // The texture's copy cannot take its name: a directory is there.
    ASSERT_EQ(mkdir((scratch.path() + "/out").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((scratch.path() + "/out/textured_texture.tif").c_str(), 0755), 0);
    ProcessResult run = Convert(scratch, std::string("out/textured.") + extension, "simple/texture.iv");
    EXPECT_EQ(run.status, 1) << extension;
    EXPECT_NE(run.err.find("kavrel-convert: cannot write '"), std::string::npos) << extension << run.err;
    EXPECT_EQ(scratch.List("out"), std::vector<std::string>{"textured_texture.tif"}) << extension;
  }
}

// Materials of the meshes in a glTF output whose names begin with prefix:
// whether each is double-sided.
std::vector<bool> DoubleSided(const ScratchDirectory &scratch, const std::vector<std::string> &args,
                              const std::string &prefix = "") {
  ProcessResult run = RunConvert(scratch, args, scratch.path());
  EXPECT_EQ(run.status, 0) << run.err;
  const nlohmann::json doc = nlohmann::json::parse(ReadFile(scratch.path() + "/out.gltf"));
  std::vector<bool> sides;
  for (const auto &mesh : doc.value("meshes", nlohmann::json::array())) {
    if (mesh.value("name", "").rfind(prefix, 0) != 0) continue;
    for (const auto &primitive : mesh["primitives"]) {
      if (!primitive.contains("material")) continue;
      sides.push_back(doc["materials"][primitive["material"].get<int>()].value("doubleSided", false));
    }
  }
  return sides;
}

TEST(ConvertFormats, GltfMaterialsAreDoubleSidedUnlessTheMeshEnclosesASolid) {
  ScratchDirectory scratch;
  // The chess board's squares (FaceSets) and the whole triangle mesh; the
  // chess pieces are closed solids and may be single-sided.
  for (auto [model, prefix] : {std::pair{"scenes/chesschairs.iv", "FaceSet"},
                               std::pair{"simple/indexedTriangleMesh.iv", ""}}) {
    const std::vector<bool> sides =
        DoubleSided(scratch, {"-o", "out.gltf", std::string(KAVREL_INVENTOR_MODELS) + "/" + model}, prefix);
    ASSERT_GT(sides.size(), 0u) << model;
    for (bool side : sides) EXPECT_TRUE(side) << model;
  }
  // Two triangles facing opposite ways, and a cube with the same material:
  // the material becomes two, the cube's single-sided.
  scratch.Write("faces.iv",
                "#Inventor V2.1 ascii\n\nSeparator {\n  Material { diffuseColor 1 0 0 }\n"
                "  Coordinate3 { point [ 0 0 0, 1 0 0, 1 1 0, 0 1 0 ] }\n"
                "  IndexedFaceSet { coordIndex [ 0, 1, 2, -1, 0, 3, 2, -1 ] }\n"
                "  Translation { translation 3 0 0 }\n  Cube {}\n}\n");
  const std::vector<bool> sides = DoubleSided(scratch, {"-o", "out.gltf", "faces.iv"});
  EXPECT_EQ(sides, (std::vector<bool>{true, false}));
  // An open square that Inventor culls (ShapeHints SOLID, known ordering)
  // is single-sided, and its twin drawn on both sides keeps its own mesh.
  scratch.Write("culled.iv",
                "#Inventor V2.1 ascii\n\nSeparator {\n  Coordinate3 { point [ 0 0 0, 1 0 0, 1 1 0, 0 1 0 ] }\n"
                "  Separator { FaceSet { numVertices 4 } }\n"
                "  ShapeHints { vertexOrdering COUNTERCLOCKWISE shapeType SOLID }\n  FaceSet { numVertices 4 }\n}\n");
  EXPECT_EQ(DoubleSided(scratch, {"-o", "out.gltf", "culled.iv"}), (std::vector<bool>{true, false}));
  EXPECT_EQ(DoubleSided(scratch, {"-o", "out.gltf", "-O", "cull_solid_shapes=0", "culled.iv"}),
            (std::vector<bool>{true}));
}

}  // namespace
}  // namespace kavrel_test
