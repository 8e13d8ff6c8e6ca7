// The OBJ writer, read back by assimp's importer: an instanced mesh under a
// turned and stretched parent, one placement mirrored, vertex colours and a
// texture copied beside the file.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "export_fixtures.h"

namespace kavrel_test {
namespace {

using kavrel::Matrix;

// A tilted triangle: normal (0, -1, 1) / sqrt(2), colours red, green and
// blue, texture coordinates at the corners of the unit square.
Mesh TiltedTriangle() {
  Mesh m;
  m.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 1}};
  m.normals = {{0, -std::sqrt(0.5f), std::sqrt(0.5f)}};
  m.texcoords = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  m.colors = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  m.face_sizes = {3};
  m.position_index = m.texcoord_index = m.color_index = {0, 1, 2};
  m.normal_index = {0, 0, 0};
  return m;
}

aiVector3D ToAi(const Vec3 &v) { return aiVector3D(v[0], v[1], v[2]); }

void ExpectNearAi(const aiVector3D &actual, const aiVector3D &expected, const std::string &what) {
  EXPECT_LT((actual - expected).Length(), 1e-5f) << what << ": (" << actual.x << ", " << actual.y << ", "
                                                  << actual.z << ") against (" << expected.x << ", " << expected.y
                                                  << ", " << expected.z << ")";
}

TEST(ObjOutput, PlacementsReadBackInWorldSpaceWithTheirAttributesAndMaterials) {
  kavrel::Host host;
  Scene &s = host.scene();
  const std::string dir = TempDir() + "/obj";
  std::filesystem::create_directories(dir);
  WriteSgiImage(dir + "/wood.rgb", 1, 1, 3, {200, 150, 100});
  kavrel::Surface &wood = s.surfaces.get_or_add("paint job");
  wood.diffuse_color = {1, 0.5f, 0};
  wood.diffuse_coeff = 0.4f;
  wood.layers.push_back({"layer 1", true, "wood", 1, 1, 0, 0, true});
  kavrel::Texture &texture = s.textures.get_or_add("wood");
  texture.path = dir + "/wood.rgb";
  texture.enabled = true;
  // Its name as one OBJ word would be the first one's.
  s.surfaces.get_or_add("paint_job").diffuse_color = {0, 0, 1};

  // Turned 90 degrees about Z with Y stretched 3 times, then raised by 5.
  AddInstance(s, "parent").matrix = {0, 3, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 5, 1};
  const int32_t triangle = AddObject(s, "triangle", TiltedTriangle());
  const char *placements[] = {"plain", "moved", "mirrored"};
  for (const char *name : placements) {
    kavrel::Instance &instance = AddInstance(s, name, "parent");
    instance.object = triangle;
    instance.surface = name[0] == 'm' && name[1] == 'i' ? "paint_job" : "paint job";
  }
  s.instances.find("moved")->matrix = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1};
  s.instances.find("mirrored")->matrix = {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

  const std::string path = dir + "/out/scene.obj";
  std::filesystem::create_directories(dir + "/out");
  std::string error;
  kavrel::ExportSummary summary;
  ASSERT_TRUE(ExportScene(host, path, kavrel::ExportFormat::kObj, &error, &summary)) << error;
  EXPECT_EQ(summary.bytes, std::filesystem::file_size(path) + std::filesystem::file_size(dir + "/out/scene.mtl") +
                               std::filesystem::file_size(dir + "/out/wood.rgb"));

  Assimp::Importer importer;
  const aiScene *read = importer.ReadFile(path, 0);
  ASSERT_NE(read, nullptr) << importer.GetErrorString();
  ASSERT_EQ(read->mNumMeshes, 3u);
  const Mesh local = TiltedTriangle();
  for (unsigned m = 0; m < 3; ++m) {
    const aiMesh &mesh = *read->mMeshes[m];
    const std::string where = placements[m];
    ASSERT_EQ(mesh.mNumFaces, 1u) << where;
    ASSERT_TRUE(mesh.HasNormals() && mesh.HasTextureCoords(0) && mesh.HasVertexColors(0)) << where;
    const Matrix world = kavrel::WorldMatrix(s, s.instances.find_index(placements[m]));
    const unsigned *corners = mesh.mFaces[0].mIndices;
    // The normal turned with the placement is the face's own, as its winding says.
    const aiVector3D &p0 = mesh.mVertices[corners[0]];
    const aiVector3D front = ((mesh.mVertices[corners[1]] - p0) ^ (mesh.mVertices[corners[2]] - p0)).Normalize();
    for (unsigned c = 0; c < 3; ++c) {
      const unsigned v = corners[c];
      ExpectNearAi(mesh.mNormals[v], front, where + " normal");
      // Each corner is one of the triangle's, placed, with that corner's colour and texture coordinate.
      int found = -1;
      for (int k = 0; k < 3; ++k) {
        if ((mesh.mVertices[v] - ToAi(kavrel::TransformPoint(world, local.positions[k]))).Length() < 1e-5f) found = k;
      }
      ASSERT_GE(found, 0) << where << " corner " << c;
      const aiColor4D &color = mesh.mColors[0][v];
      ExpectNearAi(aiVector3D(color.r, color.g, color.b), ToAi(local.colors[found]), where + " colour");
      const aiVector3D &uv = mesh.mTextureCoords[0][v];
      ExpectNearAi(aiVector3D(uv.x, uv.y, 0), ToAi(local.texcoords[found]), where + " texture coordinate");
    }
    const aiMaterial &material = *read->mMaterials[mesh.mMaterialIndex];
    aiColor3D diffuse;
    material.Get(AI_MATKEY_COLOR_DIFFUSE, diffuse);
    aiString map;
    const bool textured = material.Get(AI_MATKEY_TEXTURE_DIFFUSE(0), map) == AI_SUCCESS;
    if (m < 2) {
      ExpectNearAi(aiVector3D(diffuse.r, diffuse.g, diffuse.b), aiVector3D(0.4f, 0.2f, 0), where + " diffuse");
      ASSERT_TRUE(textured) << where;
      EXPECT_TRUE(std::filesystem::exists(dir + "/out/" + map.C_Str())) << map.C_Str();
    } else {
      ExpectNearAi(aiVector3D(diffuse.r, diffuse.g, diffuse.b), aiVector3D(0, 0, 1), where + " diffuse");
      EXPECT_FALSE(textured);
    }
  }
}

}  // namespace
}  // namespace kavrel_test
