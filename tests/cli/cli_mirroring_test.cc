// A mirroring placement keeps the fronts outside, in every format: the
// faces of a cube under Scale { scaleFactor -1 1 1 } must face away from
// its centre in world space, read back the way a viewer reads the file.
// Where a node's world matrix mirrors (glTF, COLLADA, X3D), a viewer takes
// its triangles' fronts as clockwise (glTF requires it; scene-graph viewers
// do it too); formats without nodes (OBJ, PLY, STL, 3MF) must have the
// mirroring in their coordinates, windings and normals already. assimp
// 5.2 cannot read back its own binary FBX, which is left out; 3MF is read
// by lib3mf (it is Z up: the mirror's x stays where it is).
#include <gtest/gtest.h>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <nlohmann/json.hpp>

#include "convert_process.h"
#include "placed_geometry.h"

namespace kavrel_test {
namespace {

using nlohmann::json;

// A triangle in world space with its corners' normals, and whether its
// front runs clockwise (its node's world matrix mirrors).
struct Triangle {
  Vec p[3], n[3];
  bool clockwise = false;
  bool normals = true;                         // the file has normals (3MF has none)
};

// --- glTF, read as its specification says a viewer must ---

std::vector<Triangle> GltfTriangles(const std::string &path) {
  const Glb glb = ReadGlb(path);
  std::vector<Triangle> out;
  ForEachPlacedPrimitive(glb, [&](const Affine &world, const json &primitive) {
    const int positions = primitive["attributes"]["POSITION"], normals = primitive["attributes"]["NORMAL"];
    const int indices = primitive["indices"];
    for (size_t t = 0; t < glb.doc["accessors"][indices]["count"].get<size_t>() / 3; ++t) {
      Triangle triangle;
      triangle.clockwise = world.Determinant() < 0;
      for (int k = 0; k < 3; ++k) {
        const uint32_t v = glb.Element<uint32_t>(indices, 3 * t + k, 0);
        triangle.p[k] = world.Point(glb.Vector(positions, v));
        triangle.n[k] = world.Normal(glb.Vector(normals, v));
      }
      out.push_back(triangle);
    }
  });
  return out;
}

// --- 3MF, read by lib3mf: no normals, each build item placed ---

std::vector<Triangle> ThreeMfTriangles(const std::string &path) {
  const ThreeMfContent content = ReadThreeMf(path);
  EXPECT_EQ(content.error, "");
  std::vector<Triangle> out;
  for (const ThreeMfTriangle &placed : content.triangles) {
    Triangle triangle;
    triangle.normals = false;
    for (int k = 0; k < 3; ++k) triangle.p[k] = placed.p[k];
    out.push_back(triangle);
  }
  return out;
}

// --- the other formats, through assimp's importers ---

Affine FromAssimp(const aiMatrix4x4 &m) {
  Affine out;
  const ai_real *cells = &m.a1;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) out.m[r][c] = cells[r * 4 + c];
  return out;
}

void AddAssimpNode(const aiScene &scene, const aiNode &node, const Affine &parent, std::vector<Triangle> *out) {
  const Affine world = parent.Then(FromAssimp(node.mTransformation));
  for (unsigned c = 0; c < node.mNumChildren; ++c) AddAssimpNode(scene, *node.mChildren[c], world, out);
  for (unsigned i = 0; i < node.mNumMeshes; ++i) {
    const aiMesh &mesh = *scene.mMeshes[node.mMeshes[i]];
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      Triangle triangle;
      triangle.clockwise = world.Determinant() < 0;
      triangle.normals = mesh.HasNormals();
      for (int k = 0; k < 3; ++k) {
        const unsigned v = mesh.mFaces[f].mIndices[k];
        triangle.p[k] = world.Point({mesh.mVertices[v].x, mesh.mVertices[v].y, mesh.mVertices[v].z});
        const aiVector3D n = mesh.HasNormals() ? mesh.mNormals[v] : aiVector3D(0, 0, 0);
        triangle.n[k] = world.Normal({n.x, n.y, n.z});
      }
      out->push_back(triangle);
    }
  }
}

std::vector<Triangle> AssimpTriangles(const std::string &path) {
  Assimp::Importer importer;
  const aiScene *scene = importer.ReadFile(path, 0);
  EXPECT_NE(scene, nullptr) << path << ": " << importer.GetErrorString();
  std::vector<Triangle> out;
  if (scene != nullptr) AddAssimpNode(*scene, *scene->mRootNode, Affine(), &out);
  return out;
}

TEST(Mirroring, EveryFormatKeepsAMirroredCubesFacesOutside) {
  ScratchDirectory scratch;
  scratch.Write("mirrored.iv",
                "#Inventor V2.1 ascii\n\nSeparator {\n  Scale { scaleFactor -1 1 1 }\n"
                "  Translation { translation 3 0 0 }\n  Cube {}\n}\n");
  const Vec centre{-3, 0, 0};                  // where the mirror takes the cube
  for (const char *extension : {"glb", "obj", "ply", "stl", "dae", "3mf", "x3d"}) {
    const std::string output = std::string("mirrored.") + extension;
    const ProcessResult run = RunConvert(scratch, {"-q", "-o", output, "mirrored.iv"}, scratch.path());
    ASSERT_EQ(run.status, 0) << extension << run.err;
    const std::string path = scratch.path() + "/" + output;
    const std::string format = extension;
    const std::vector<Triangle> triangles = format == "glb"   ? GltfTriangles(path)
                                            : format == "3mf" ? ThreeMfTriangles(path)
                                                              : AssimpTriangles(path);
    ASSERT_EQ(triangles.size(), 12u) << extension;
    for (size_t t = 0; t < triangles.size(); ++t) {
      const Triangle &tri = triangles[t];
      const Vec outward = (tri.p[0] + tri.p[1] + tri.p[2]) * (1.0f / 3) - centre;
      const Vec front = (tri.p[1] - tri.p[0]).Cross(tri.p[2] - tri.p[0]) * (tri.clockwise ? -1.0f : 1.0f);
      EXPECT_GT(front.Dot(outward), 0) << extension << " triangle " << t << " faces into the cube";
      for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(tri.p[k].x, -3, 1.001f) << extension << " triangle " << t << " is not where the mirror puts it";
        if (tri.normals) {
          EXPECT_GT(tri.n[k].Dot(outward), 0) << extension << " normal of " << t;
        }
      }
    }
  }
}

}  // namespace
}  // namespace kavrel_test
