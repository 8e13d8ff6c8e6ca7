#include "world_triangles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <sstream>
#include <tuple>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <nlohmann/json.hpp>

#include "convert_process.h"

namespace kavrel_test {
namespace {

using nlohmann::json;

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
  if (bytes.size() > 28 + json_length) std::memcpy(&bin_length, &bytes[20 + json_length], 4);
  return {json::parse(bytes.substr(20, json_length)), bytes.size() > 28 + json_length ? bytes.substr(28 + json_length, bin_length) : ""};
}

// translation x rotation x scale, or the matrix.
Affine NodeMatrix(const json &node) {
  Affine out;
  if (node.contains("matrix")) {
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 4; ++c) out.m[r][c] = node["matrix"][c * 4 + r];
    return out;
  }
  const json q = node.value("rotation", json::array({0, 0, 0, 1}));
  const float x = q[0], y = q[1], z = q[2], w = q[3];
  const float rotation[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)},
                                {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)},
                                {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)}};
  const json s = node.value("scale", json::array({1, 1, 1}));
  const json t = node.value("translation", json::array({0, 0, 0}));
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) out.m[r][c] = rotation[r][c] * s[c].get<float>();
    out.m[r][3] = t[r];
  }
  return out;
}

std::array<float, 4> GltfColor(const Glb &glb, const json &primitive) {
  if (!primitive.contains("material")) return {1, 1, 1, 1};
  const json &material = glb.doc["materials"][primitive["material"].get<int>()];
  const json factor = material.value("pbrMetallicRoughness", json::object()).value("baseColorFactor", json::array({1, 1, 1, 1}));
  return {factor[0], factor[1], factor[2], factor[3]};
}

void AddGltfNode(const Glb &glb, int index, const Affine &parent, WorldScene *out) {
  const json &node = glb.doc["nodes"][index];
  const Affine world = parent.Then(NodeMatrix(node));
  if (node.contains("name")) out->names.insert(node["name"].get<std::string>());
  for (const json &child : node.value("children", json::array())) AddGltfNode(glb, child, world, out);
  if (!node.contains("mesh")) return;
  for (const json &primitive : glb.doc["meshes"][node["mesh"].get<int>()]["primitives"]) {
    if (primitive.value("mode", 4) != 4) continue;  // line segments or points
    const int positions = primitive["attributes"]["POSITION"];
    const int normals = primitive["attributes"].value("NORMAL", -1);
    const int indices = primitive["indices"];
    for (size_t t = 0; t < glb.doc["accessors"][indices]["count"].get<size_t>() / 3; ++t) {
      Triangle triangle;
      triangle.clockwise = world.Determinant() < 0;
      triangle.normals = normals >= 0;
      triangle.color = GltfColor(glb, primitive);
      for (int k = 0; k < 3; ++k) {
        const uint32_t v = glb.Element<uint32_t>(indices, 3 * t + k, 0);
        triangle.p[k] = world.Point(glb.Vector(positions, v));
        if (normals >= 0) triangle.n[k] = world.Normal(glb.Vector(normals, v));
      }
      out->triangles.push_back(triangle);
    }
  }
}

// --- the other formats, through assimp's importers ---

Affine FromAssimp(const aiMatrix4x4 &m) {
  Affine out;
  const ai_real *cells = &m.a1;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) out.m[r][c] = cells[r * 4 + c];
  return out;
}

std::array<float, 4> AssimpColor(const aiMaterial &material) {
  aiColor3D diffuse(1, 1, 1);
  float opacity = 1;
  material.Get(AI_MATKEY_COLOR_DIFFUSE, diffuse);
  material.Get(AI_MATKEY_OPACITY, opacity);
  return {diffuse.r, diffuse.g, diffuse.b, opacity};
}

void AddAssimpNode(const aiScene &scene, const aiNode &node, const Affine &parent, WorldScene *out) {
  const Affine world = parent.Then(FromAssimp(node.mTransformation));
  if (&node != scene.mRootNode) out->names.insert(node.mName.C_Str());
  for (unsigned c = 0; c < node.mNumChildren; ++c) AddAssimpNode(scene, *node.mChildren[c], world, out);
  for (unsigned i = 0; i < node.mNumMeshes; ++i) {
    const aiMesh &mesh = *scene.mMeshes[node.mMeshes[i]];
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      Triangle triangle;
      triangle.clockwise = world.Determinant() < 0;
      triangle.normals = mesh.HasNormals();
      triangle.color = AssimpColor(*scene.mMaterials[mesh.mMaterialIndex]);
      for (int k = 0; k < 3; ++k) {
        const unsigned v = mesh.mFaces[f].mIndices[k];
        triangle.p[k] = world.Point({mesh.mVertices[v].x, mesh.mVertices[v].y, mesh.mVertices[v].z});
        const aiVector3D n = mesh.HasNormals() ? mesh.mNormals[v] : aiVector3D(0, 0, 0);
        triangle.n[k] = world.Normal({n.x, n.y, n.z});
      }
      out->triangles.push_back(triangle);
    }
  }
}

using Cell = std::tuple<long, long, long>;

Cell CellOf(const Triangle &t, float size) {
  const Vec c = (t.p[0] + t.p[1] + t.p[2]) * (1.0f / 3);
  return {std::lround(std::floor(c.x / size)), std::lround(std::floor(c.y / size)), std::lround(std::floor(c.z / size))};
}

bool Matches(const Triangle &a, const Triangle &b, float tolerance) {
  for (int k = 0; k < 3; ++k) {
    const Vec d = a.p[k] - b.p[k];
    if (std::fabs(d.x) > tolerance || std::fabs(d.y) > tolerance || std::fabs(d.z) > tolerance) return false;
  }
  for (int c = 0; c < 4; ++c) {
    if (std::fabs(a.color[c] - b.color[c]) > 1e-3f) return false;
  }
  return true;
}

std::string Describe(const Triangle &t) {
  std::ostringstream out;
  for (const Vec &p : t.p) out << "(" << p.x << " " << p.y << " " << p.z << ") ";
  out << "colour " << t.color[0] << " " << t.color[1] << " " << t.color[2] << " " << t.color[3];
  return out.str();
}

}  // namespace

WorldScene GltfScene(const std::string &glb_path) {
  const Glb glb = ReadGlb(glb_path);
  WorldScene out;
  for (const json &root : glb.doc["scenes"][0].value("nodes", json::array())) AddGltfNode(glb, root, Affine(), &out);
  return out;
}

WorldScene AssimpScene(const std::string &path) {
  Assimp::Importer importer;
  const aiScene *scene = importer.ReadFile(path, 0);
  EXPECT_NE(scene, nullptr) << path << ": " << importer.GetErrorString();
  WorldScene out;
  if (scene != nullptr) AddAssimpNode(*scene, *scene->mRootNode, Affine(), &out);
  return out;
}

std::vector<std::string> UnmatchedTriangles(const std::vector<Triangle> &expected, const std::vector<Triangle> &actual,
                                            float tolerance, size_t limit) {
  const float cell = 4 * tolerance;
  std::map<Cell, std::vector<size_t>> cells;
  for (size_t i = 0; i < actual.size(); ++i) cells[CellOf(actual[i], cell)].push_back(i);
  std::vector<bool> used(actual.size(), false);
  std::vector<std::string> unmatched;
  for (const Triangle &t : expected) {
    const auto [x, y, z] = CellOf(t, cell);
    bool found = false;
    for (long dx = -1; dx <= 1 && !found; ++dx)
      for (long dy = -1; dy <= 1 && !found; ++dy)
        for (long dz = -1; dz <= 1 && !found; ++dz) {
          const auto it = cells.find({x + dx, y + dy, z + dz});
          if (it == cells.end()) continue;
          for (size_t i : it->second) {
            if (used[i] || !Matches(t, actual[i], tolerance)) continue;
            used[i] = found = true;
            break;
          }
        }
    if (!found && unmatched.size() < limit) unmatched.push_back(Describe(t));
  }
  return unmatched;
}

}  // namespace kavrel_test
