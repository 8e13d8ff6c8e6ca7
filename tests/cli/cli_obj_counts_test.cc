// OBJ holds the triangles the .glb holds, and no triangle twice: readers
// differ on a repeated triangle (Blender's glTF importer drops it, its OBJ
// importer keeps it), so the two formats would count differently. Every
// inventor-data model, read back by assimp's importers.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "convert_process.h"
#include "corpus_read_back.h"

namespace kavrel_test {
namespace {

namespace fs = std::filesystem;

long PlacedTriangles(const aiScene &scene, const aiNode &node) {
  long triangles = 0;
  for (unsigned i = 0; i < node.mNumMeshes; ++i) triangles += scene.mMeshes[node.mMeshes[i]]->mNumFaces;
  for (unsigned i = 0; i < node.mNumChildren; ++i) triangles += PlacedTriangles(scene, *node.mChildren[i]);
  return triangles;
}

// A corner as a reader sees it: position, normal and texture coordinate.
using Corner = std::array<float, 8>;

Corner CornerOf(const aiMesh &mesh, unsigned v) {
  const aiVector3D p = mesh.mVertices[v];
  const aiVector3D n = mesh.HasNormals() ? mesh.mNormals[v] : aiVector3D();
  const aiVector3D t = mesh.HasTextureCoords(0) ? mesh.mTextureCoords[0][v] : aiVector3D();
  return {p.x, p.y, p.z, n.x, n.y, n.z, t.x, t.y};
}

// Faces of the mesh whose corners an earlier face of it has, in any order.
long RepeatedFaces(const aiMesh &mesh) {
  std::set<std::array<Corner, 3>> seen;
  long repeated = 0;
  for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
    const aiFace &face = mesh.mFaces[f];
    if (face.mNumIndices != 3) continue;
    std::array<Corner, 3> corners{CornerOf(mesh, face.mIndices[0]), CornerOf(mesh, face.mIndices[1]),
                                  CornerOf(mesh, face.mIndices[2])};
    std::sort(corners.begin(), corners.end());
    repeated += !seen.insert(corners).second;
  }
  return repeated;
}

TEST(ObjCounts, EveryModelsObjHoldsTheGlbsTrianglesEachOnce) {
  ScratchDirectory scratch;
  if (!kCorpusReadBack) return ConvertFormatSample(scratch, ".obj");
  for (const std::string format : {"glb", "obj"}) {
    const ProcessResult run = RunConvert(
        scratch, {"-q", "-j", "2", "--format", format, "--output-dir", format, KAVREL_INVENTOR_MODELS}, scratch.path());
    ASSERT_EQ(run.status, 0) << format << run.err;
  }
  int models = 0;
  for (const fs::directory_entry &entry : fs::recursive_directory_iterator(scratch.path() + "/obj")) {
    if (entry.path().extension() != ".obj") continue;
    ++models;
    const std::string name = fs::relative(entry.path(), scratch.path() + "/obj").replace_extension().string();
    Assimp::Importer obj_reader, glb_reader;
    const aiScene *obj = obj_reader.ReadFile(entry.path().string(), 0);
    const aiScene *glb = glb_reader.ReadFile(scratch.path() + "/glb/" + name + ".glb", 0);
    ASSERT_TRUE(obj != nullptr && glb != nullptr) << name;
    EXPECT_EQ(PlacedTriangles(*obj, *obj->mRootNode), PlacedTriangles(*glb, *glb->mRootNode)) << name;
    long repeated = 0;
    for (unsigned m = 0; m < obj->mNumMeshes; ++m) repeated += RepeatedFaces(*obj->mMeshes[m]);
    EXPECT_EQ(repeated, 0) << name;
  }
  int inputs = 0;
  for (const fs::directory_entry &entry : fs::recursive_directory_iterator(KAVREL_INVENTOR_MODELS))
    inputs += entry.path().extension() == ".iv" || entry.path().extension() == ".wrl";
  EXPECT_EQ(models, inputs);
}

}  // namespace
}  // namespace kavrel_test
