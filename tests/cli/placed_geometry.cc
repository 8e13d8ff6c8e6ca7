#include "placed_geometry.h"

#include <algorithm>
#include <cmath>

#include <Model/COM/NMR_DLLInterfaces.h>

#include "convert_process.h"
#include "kavrel/export/threemf_library.h"

namespace kavrel_test {

using nlohmann::json;

Vec Affine::Point(const Vec &p) const {
  return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + m[0][3], m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + m[1][3],
          m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + m[2][3]};
}

Vec Affine::Normal(const Vec &n) const {
  const Vec a = Column(1).Cross(Column(2)), b = Column(2).Cross(Column(0)), c = Column(0).Cross(Column(1));
  const Vec out = a * n.x + b * n.y + c * n.z;
  return Determinant() < 0 ? out * -1 : out;
}

Affine Affine::Then(const Affine &inner) const {
  Affine out;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c)
      out.m[r][c] = m[r][0] * inner.m[0][c] + m[r][1] * inner.m[1][c] + m[r][2] * inner.m[2][c] + (c == 3 ? m[r][3] : 0);
  return out;
}

uint8_t ColorByte(float value) { return static_cast<uint8_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f); }

// --- glTF ---

Glb ReadGlb(const std::string &path) {
  const std::string bytes = ReadFile(path);
  uint32_t json_length = 0, bin_length = 0;
  std::memcpy(&json_length, &bytes[12], 4);
  std::memcpy(&bin_length, &bytes[20 + json_length], 4);
  return {json::parse(bytes.substr(20, json_length)), bytes.substr(28 + json_length, bin_length)};
}

namespace {

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
  const json scale = node.value("scale", json::array({1, 1, 1}));
  const json translation = node.value("translation", json::array({0, 0, 0}));
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) out.m[r][c] = rotation[r][c] * scale[c].get<float>();
    out.m[r][3] = translation[r];
  }
  return out;
}

void VisitNode(const Glb &glb, int index, const Affine &parent,
               const std::function<void(const Affine &, const json &)> &visit) {
  const json &node = glb.doc["nodes"][index];
  const Affine world = parent.Then(NodeMatrix(node));
  for (const json &child : node.value("children", json::array())) VisitNode(glb, child, world, visit);
  if (!node.contains("mesh")) return;
  for (const json &primitive : glb.doc["meshes"][node["mesh"].get<int>()]["primitives"]) visit(world, primitive);
}

}  // namespace

void ForEachPlacedPrimitive(const Glb &glb, const std::function<void(const Affine &, const json &)> &visit) {
  for (const json &root : glb.doc["scenes"][0]["nodes"]) VisitNode(glb, root, Affine(), visit);
}

// --- 3MF ---

namespace {

using kavrel::CheckThreeMf;
using kavrel::ThreeMfHandle;

// What lib3mf hands out is looked at through these, each call checked.
class ThreeMfReader {
 public:
  explicit ThreeMfReader(ThreeMfContent &out) : out_(out) {}

  void Read(const std::string &path) {
    CheckThreeMf(NMR::lib3mf_createmodel(model_.Out()), nullptr, "createmodel");
    ThreeMfHandle reader;
    CheckThreeMf(NMR::lib3mf_model_queryreader(model_.get(), "3mf", reader.Out()), model_.get(), "queryreader");
    CheckThreeMf(NMR::lib3mf_reader_readfromfileutf8(reader.get(), path.c_str()), reader.get(), "read");
    DWORD unit = 0;
    CheckThreeMf(NMR::lib3mf_model_getunit(model_.get(), &unit), model_.get(), "getunit");
    out_.unit = unit;
    out_.objects = Count(NMR::lib3mf_model_getmeshobjects, nullptr);
    out_.materials = Count(NMR::lib3mf_model_getbasematerials, [](NMR::PLib3MFBase *group) {
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
  long Count(LIB3MFRESULT (*iterate)(NMR::PLib3MFBase *, NMR::PLib3MFBase **),
             long (*weigh)(NMR::PLib3MFBase *)) {
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
    ++out_.items;
    char part[1024] = "";
    ULONG needed = 0;
    CheckThreeMf(NMR::lib3mf_builditem_getpartnumberutf8(item, part, sizeof part, &needed), item, "partnumber");
    out_.part_numbers.push_back(part);
    NMR::MODELTRANSFORM transform;
    CheckThreeMf(NMR::lib3mf_builditem_getobjecttransform(item, &transform), item, "getobjecttransform");
    Affine placed;
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 4; ++c) placed.m[r][c] = transform.m_fFields[r][c];
    ThreeMfHandle object;
    CheckThreeMf(NMR::lib3mf_builditem_getobjectresource(item, object.Out()), item, "getobjectresource");
    BOOL manifold = false;
    CheckThreeMf(NMR::lib3mf_meshobject_ismanifoldandoriented(object.get(), &manifold), object.get(), "manifold");
    out_.manifold_items += manifold ? 1 : 0;
    Triangles(object.get(), placed);
  }

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
      ThreeMfTriangle out;
      for (int k = 0; k < 3; ++k) {
        const float *p = vertices[triangles[t].m_nIndices[k]].m_fPosition;
        out.p[k] = placed.Point({p[0], p[1], p[2]});
      }
      out.color = Colors(properties.get(), fallback.get(), t);
      out_.triangles.push_back(out);
    }
  }

  // The triangle's corners' colours: its colour group's, its base
  // material's, or the object's default material's.
  std::array<Rgba, 3> Colors(NMR::PLib3MFBase *properties, NMR::PLib3MFBase *fallback, DWORD triangle) {
    NMR::eModelPropertyType type = NMR::MODELPROPERTYTYPE_NONE;
    CheckThreeMf(NMR::lib3mf_propertyhandler_getpropertytype(properties, triangle, &type), properties, "type");
    if (type == NMR::MODELPROPERTYTYPE_COLOR) {
      NMR::MODELMESH_TRIANGLECOLOR_SRGB colors;
      CheckThreeMf(NMR::lib3mf_propertyhandler_getcolor(properties, triangle, &colors), properties, "getcolor");
      std::array<Rgba, 3> out;
      for (int k = 0; k < 3; ++k) {
        const NMR::MODELMESHCOLOR_SRGB &c = colors.m_Colors[k];
        out[k] = {c.m_Red, c.m_Green, c.m_Blue, c.m_Alpha};
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
    Rgba color;
    CheckThreeMf(NMR::lib3mf_basematerial_getdisplaycolor(materials.get(), index, &color[0], &color[1], &color[2],
                                                          &color[3]),
                 materials.get(), "getdisplaycolor");
    return {color, color, color};
  }

  ThreeMfContent &out_;
  ThreeMfHandle model_;
};

}  // namespace

ThreeMfContent ReadThreeMf(const std::string &path) {
  ThreeMfContent content;
  try {
    ThreeMfReader(content).Read(path);
  } catch (const std::exception &e) {
    content.error = path + ": " + e.what();
  }
  return content;
}

}  // namespace kavrel_test
