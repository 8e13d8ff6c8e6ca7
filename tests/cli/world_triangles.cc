#include "world_triangles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <sstream>
#include <tuple>

#include <Model/COM/NMR_DLLInterfaces.h>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <nlohmann/json.hpp>

#include "convert_process.h"
#include "kavrel/export/threemf_library.h"

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

// --- glTF, read as the glTF standard says a viewer must ---

struct Glb {
  json doc;
  std::string bin;
  template <typename T>
  T Element(int accessor, size_t index, int component) const {
    const json &a = doc["accessors"][accessor];
    const json &view = doc["bufferViews"][a["bufferView"].get<int>()];
    const int components = a["type"] == "VEC4" ? 4 : a["type"] == "VEC3" ? 3 : a["type"] == "VEC2" ? 2 : 1;
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

using Color = std::array<float, 4>;

// A material's colour at a corner with the vertex colour rgb.
Color Tinted(const Color &material, float r, float g, float b) {
  return {material[0] * r, material[1] * g, material[2] * b, material[3]};
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
    const int colors = primitive["attributes"].value("COLOR_0", -1);
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
        const Vec tint = colors >= 0 ? glb.Vector(colors, v) : Vec{1, 1, 1};
        triangle.corner_colors[k] = Tinted(triangle.color, tint.x, tint.y, tint.z);
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
        const aiColor4D tint = mesh.HasVertexColors(0) ? mesh.mColors[0][v] : aiColor4D(1, 1, 1, 1);
        triangle.corner_colors[k] = Tinted(triangle.color, tint.r, tint.g, tint.b);
      }
      out->triangles.push_back(triangle);
    }
  }
}

// --- 3MF, through lib3mf ---

using kavrel::CheckThreeMf;
using kavrel::ThreeMfHandle;

// What lib3mf hands out is looked at through these, each call checked.
class ThreeMfReader {
 public:
  ThreeMfReader(WorldScene &out, ThreeMfFacts &facts) : out_(out), facts_(facts) {}

  void Read(const std::string &path) {
    CheckThreeMf(NMR::lib3mf_createmodel(model_.Out()), nullptr, "createmodel");
    ThreeMfHandle reader;
    CheckThreeMf(NMR::lib3mf_model_queryreader(model_.get(), "3mf", reader.Out()), model_.get(), "queryreader");
    CheckThreeMf(NMR::lib3mf_reader_readfromfileutf8(reader.get(), path.c_str()), reader.get(), "read");
    DWORD unit = 0;
    CheckThreeMf(NMR::lib3mf_model_getunit(model_.get(), &unit), model_.get(), "getunit");
    facts_.unit = unit;
    facts_.objects = Count(NMR::lib3mf_model_getmeshobjects, nullptr);
    facts_.materials = Count(NMR::lib3mf_model_getbasematerials, [](NMR::PLib3MFBase *group) {
      DWORD count = 0;
      CheckThreeMf(NMR::lib3mf_basematerial_getcount(group, &count), group, "basematerial_getcount");
      return static_cast<long>(count);
    });
    ThreeMfHandle items;
    CheckThreeMf(NMR::lib3mf_model_getbuilditems(model_.get(), items.Out()), model_.get(), "getbuilditems");
    BOOL more = false;
    while (CheckThreeMf(NMR::lib3mf_builditemiterator_movenext(items.get(), &more), items.get(), "movenext"), more) {
      ThreeMfHandle item;
      CheckThreeMf(NMR::lib3mf_builditemiterator_getcurrent(items.get(), item.Out()), items.get(), "getcurrent");
      Item(item.get());
    }
  }

 private:
  // The resources an iterator of the model gives, each counted as weigh says (1 without).
  long Count(LIB3MFRESULT (*iterate)(NMR::PLib3MFBase *, NMR::PLib3MFBase **), long (*weigh)(NMR::PLib3MFBase *)) {
    ThreeMfHandle resources;
    CheckThreeMf(iterate(model_.get(), resources.Out()), model_.get(), "resources");
    long count = 0;
    BOOL more = false;
    while (CheckThreeMf(NMR::lib3mf_resourceiterator_movenext(resources.get(), &more), resources.get(), "movenext"),
           more) {
      ThreeMfHandle resource;
      CheckThreeMf(NMR::lib3mf_resourceiterator_getcurrent(resources.get(), resource.Out()), resources.get(), "get");
      count += weigh ? weigh(resource.get()) : 1;
    }
    return count;
  }

  void Item(NMR::PLib3MFBase *item) {
    ++facts_.items;
    char part[1024] = "";
    ULONG needed = 0;
    CheckThreeMf(NMR::lib3mf_builditem_getpartnumberutf8(item, part, sizeof part, &needed), item, "partnumber");
    out_.names.insert(part);
    NMR::MODELTRANSFORM transform;
    CheckThreeMf(NMR::lib3mf_builditem_getobjecttransform(item, &transform), item, "getobjecttransform");
    Affine placed;
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 4; ++c) placed.m[r][c] = transform.m_fFields[r][c];
    ThreeMfHandle object;
    CheckThreeMf(NMR::lib3mf_builditem_getobjectresource(item, object.Out()), item, "getobjectresource");
    BOOL manifold = false;
    CheckThreeMf(NMR::lib3mf_meshobject_ismanifoldandoriented(object.get(), &manifold), object.get(), "manifold");
    facts_.manifold_items += manifold ? 1 : 0;
    Triangles(object.get(), placed);
  }

  // 3MF has no normals. Fronts are taken as written, counter-clockwise:
  // our writer gives mirroring placements world-space copies instead of
  // mirroring transforms.
  void Triangles(NMR::PLib3MFBase *object, const Affine &placed) {
    DWORD vertex_count = 0, triangle_count = 0;
    CheckThreeMf(NMR::lib3mf_meshobject_getvertexcount(object, &vertex_count), object, "getvertexcount");
    CheckThreeMf(NMR::lib3mf_meshobject_gettrianglecount(object, &triangle_count), object, "gettrianglecount");
    std::vector<NMR::MODELMESHVERTEX> vertices(vertex_count);
    std::vector<NMR::MODELMESHTRIANGLE> triangles(triangle_count);
    CheckThreeMf(NMR::lib3mf_meshobject_getvertices(object, vertices.data(), vertex_count, nullptr), object,
                 "vertices");
    CheckThreeMf(NMR::lib3mf_meshobject_gettriangleindices(object, triangles.data(), triangle_count, nullptr), object,
                 "triangles");
    ThreeMfHandle properties, fallback;
    CheckThreeMf(NMR::lib3mf_meshobject_createpropertyhandler(object, properties.Out()), object, "properties");
    CheckThreeMf(NMR::lib3mf_object_createdefaultpropertyhandler(object, fallback.Out()), object, "default property");
    for (DWORD t = 0; t < triangle_count; ++t) {
      Triangle out;
      out.normals = false;
      for (int k = 0; k < 3; ++k) {
        const float *p = vertices[triangles[t].m_nIndices[k]].m_fPosition;
        out.p[k] = placed.Point({p[0], p[1], p[2]});
      }
      out.corner_colors = Colors(properties.get(), fallback.get(), t);
      out.color = out.corner_colors[0];
      out_.triangles.push_back(out);
    }
  }

  // The triangle's corners' colours: its colour group's, its base
  // material's, or the object's default material's.
  std::array<Color, 3> Colors(NMR::PLib3MFBase *properties, NMR::PLib3MFBase *fallback, DWORD triangle) {
    NMR::eModelPropertyType type = NMR::MODELPROPERTYTYPE_NONE;
    CheckThreeMf(NMR::lib3mf_propertyhandler_getpropertytype(properties, triangle, &type), properties, "type");
    if (type == NMR::MODELPROPERTYTYPE_COLOR) {
      NMR::MODELMESH_TRIANGLECOLOR_SRGB colors;
      CheckThreeMf(NMR::lib3mf_propertyhandler_getcolor(properties, triangle, &colors), properties, "getcolor");
      std::array<Color, 3> out;
      for (int k = 0; k < 3; ++k) {
        const NMR::MODELMESHCOLOR_SRGB &c = colors.m_Colors[k];
        out[k] = FromBytes(c.m_Red, c.m_Green, c.m_Blue, c.m_Alpha);
      }
      return out;
    }
    DWORD group = 0, index = 0;
    if (type == NMR::MODELPROPERTYTYPE_BASEMATERIALS) {
      CheckThreeMf(NMR::lib3mf_propertyhandler_getbasematerial(properties, triangle, &group, &index), properties,
                   "getbasematerial");
    } else {
      CheckThreeMf(NMR::lib3mf_defaultpropertyhandler_getbasematerial(fallback, &group, &index), fallback,
                   "default material");
    }
    ThreeMfHandle materials;
    CheckThreeMf(NMR::lib3mf_model_getbasematerialbyid(model_.get(), group, materials.Out()), model_.get(), "group");
    BYTE r = 0, g = 0, b = 0, a = 0;
    CheckThreeMf(NMR::lib3mf_basematerial_getdisplaycolor(materials.get(), index, &r, &g, &b, &a), materials.get(),
                 "getdisplaycolor");
    const Color color = FromBytes(r, g, b, a);
    return {color, color, color};
  }

  static Color FromBytes(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f};
  }

  WorldScene &out_;
  ThreeMfFacts &facts_;
  ThreeMfHandle model_;
};

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

WorldScene ThreeMfScene(const std::string &path, ThreeMfFacts *facts) {
  WorldScene out;
  ThreeMfFacts ignored;
  try {
    ThreeMfReader(out, facts ? *facts : ignored).Read(path);
  } catch (const std::exception &e) {
    ADD_FAILURE() << path << ": " << e.what();
  }
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
