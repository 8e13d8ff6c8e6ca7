// A mirroring placement keeps the fronts outside, in every format: the
// faces of a cube under Scale { scaleFactor -1 1 1 } must face away from
// its centre in world space, read back the way a viewer reads the file.
// Where a node's world matrix mirrors (glTF, COLLADA, X3D), a viewer takes
// its triangles' fronts as clockwise (glTF requires it; scene-graph viewers
// do it too, FBX's negative scale among them); formats without nodes (OBJ,
// PLY, STL, 3MF) must have the mirroring in their coordinates, windings and
// normals already.
#include <gtest/gtest.h>

#include <cstring>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <nlohmann/json.hpp>

#include "convert_process.h"

namespace kavrel_test {
namespace {

using nlohmann::json;

struct Vec {
  float x = 0, y = 0, z = 0;
  Vec operator-(const Vec &o) const { return {x - o.x, y - o.y, z - o.z}; }
  Vec operator+(const Vec &o) const { return {x + o.x, y + o.y, z + o.z}; }
  Vec operator*(float s) const { return {x * s, y * s, z * s}; }
  float Dot(const Vec &o) const { return x * o.x + y * o.y + z * o.z; }
  Vec Cross(const Vec &o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
};

// A triangle in world space with its corners' normals, and whether its
// front runs clockwise (its node's world matrix mirrors).
struct Triangle {
  Vec p[3], n[3];
  bool clockwise = false;
  bool normals = true;                         // the file has normals (3MF has none)
};

// A column-vector affine matrix: rows r, p' = M p.
struct Affine {
  float m[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
  Vec Point(const Vec &p) const {
    return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + m[0][3], m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + m[1][3],
            m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + m[2][3]};
  }
  Vec Column(int c) const { return {m[0][c], m[1][c], m[2][c]}; }
  float Determinant() const { return Column(0).Dot(Column(1).Cross(Column(2))); }
  // Through the inverse transpose, up to a positive factor: the cofactors.
  Vec Normal(const Vec &n) const {
    const Vec a = Column(1).Cross(Column(2)), b = Column(2).Cross(Column(0)), c = Column(0).Cross(Column(1));
    const Vec out = a * n.x + b * n.y + c * n.z;
    return Determinant() < 0 ? out * -1 : out;
  }
  Affine Then(const Affine &inner) const {  // this x inner: inner applied first
    Affine out;
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 4; ++c)
        out.m[r][c] = m[r][0] * inner.m[0][c] + m[r][1] * inner.m[1][c] + m[r][2] * inner.m[2][c] + (c == 3 ? m[r][3] : 0);
    return out;
  }
};

// --- glTF, read as its specification says a viewer must ---

struct Glb {
  json doc;
  std::string bin;
  template <typename T>
  T Element(int accessor, size_t index, int component) const {
    const json &a = doc["accessors"][accessor];
    const json &view = doc["bufferViews"][a["bufferView"].get<int>()];
    const int components = a["type"] == "VEC3" ? 3 : a["type"] == "VEC2" ? 2 : 1;
    T value;
    std::memcpy(&value, &bin[view.value("byteOffset", 0) + (index * components + component) * sizeof(T)], sizeof(T));
    return value;
  }
  Vec Vector(int accessor, size_t index) const {
    return {Element<float>(accessor, index, 0), Element<float>(accessor, index, 1), Element<float>(accessor, index, 2)};
  }
};

Glb ReadGlb(const std::string &path) {
  const std::string bytes = ReadFile(path);
  uint32_t json_length = 0, bin_length = 0;
  std::memcpy(&json_length, &bytes[12], 4);
  std::memcpy(&bin_length, &bytes[20 + json_length], 4);
  return {json::parse(bytes.substr(20, json_length)), bytes.substr(28 + json_length, bin_length)};
}

Affine NodeMatrix(const json &node) {
  Affine out;
  if (node.contains("matrix")) {
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 4; ++c) out.m[r][c] = node["matrix"][c * 4 + r];
    return out;
  }
  EXPECT_FALSE(node.contains("rotation") || node.contains("scale")) << "only matrices and translations are read here";
  for (int r = 0; r < 3 && node.contains("translation"); ++r) out.m[r][3] = node["translation"][r];
  return out;
}

void AddGltfNode(const Glb &glb, int index, const Affine &parent, std::vector<Triangle> *out) {
  const json &node = glb.doc["nodes"][index];
  const Affine world = parent.Then(NodeMatrix(node));
  for (const json &child : node.value("children", json::array())) AddGltfNode(glb, child, world, out);
  if (!node.contains("mesh")) return;
  for (const json &primitive : glb.doc["meshes"][node["mesh"].get<int>()]["primitives"]) {
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
      out->push_back(triangle);
    }
  }
}

std::vector<Triangle> GltfTriangles(const std::string &path) {
  const Glb glb = ReadGlb(path);
  std::vector<Triangle> out;
  for (const json &root : glb.doc["scenes"][0]["nodes"]) AddGltfNode(glb, root, Affine(), &out);
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
  for (const char *extension : {"glb", "obj", "ply", "stl", "dae", "3mf", "x3d", "fbx"}) {
    const std::string output = std::string("mirrored.") + extension;
    const ProcessResult run = RunConvert(scratch, {"-q", "-o", output, "mirrored.iv"}, scratch.path());
    ASSERT_EQ(run.status, 0) << extension << run.err;
    const std::string path = scratch.path() + "/" + output;
    const std::vector<Triangle> triangles = extension == std::string("glb") ? GltfTriangles(path) : AssimpTriangles(path);
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
