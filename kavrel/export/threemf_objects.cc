// Mesh objects of a 3MF document: welded vertices, triangles, and the
// properties that colour them.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "kavrel/export/threemf_stages.h"
#include "kavrel/mesh/byte_hash.h"
#include "kavrel/mesh/intern_table.h"

namespace kavrel {
namespace {

using PositionBits = std::array<uint32_t, 3>;

struct PositionBitsHash {
  uint64_t operator()(const PositionBits &p) const {
    return MixBits((uint64_t{p[0]} << 32 | p[1]) ^ MixBits(p[2]));
  }
};

uint8_t ColorByte(float value) {
  return static_cast<uint8_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
}

// A mesh's triangles with one vertex per distinct position, in 3MF's terms.
class ObjectGeometry {
 public:
  explicit ObjectGeometry(const ThreeMfMeshSource &source)
      : source_(source), welded_(source.flat->vertex_count(), source.flat->vertex_count()) {}

  // Every group's triangles, the vertices they use welded.
  void Gather() {
    for (const TriangleGroup &group : source_.flat->groups) {
      for (size_t t = 0; t + 2 < group.indices.size(); t += 3) {
        const uint32_t *corners = &group.indices[t];
        // Reversed: the second and third corners swap, the first stays.
        const uint32_t order[3] = {corners[0], corners[source_.reversed ? 2 : 1], corners[source_.reversed ? 1 : 2]};
        NMR::MODELMESHTRIANGLE triangle;
        for (int k = 0; k < 3; ++k) triangle.m_nIndices[k] = Weld(order[k]);
        triangles_.push_back(triangle);
        corners_.push_back({order[0], order[1], order[2]});
      }
    }
  }

  std::vector<NMR::MODELMESHVERTEX> &vertices() { return vertices_; }
  std::vector<NMR::MODELMESHTRIANGLE> &triangles() { return triangles_; }
  // The flat mesh's vertices at each triangle's corners, in written order.
  const std::vector<std::array<uint32_t, 3>> &corners() const { return corners_; }

 private:
  uint32_t Weld(uint32_t v) {
    const float *p = &source_.flat->positions[3 * v];
    PositionBits bits;
    std::memcpy(bits.data(), p, sizeof bits);
    bool added = false;
    const int32_t id = welded_.Intern(bits, &added);
    if (added) {
      Vec3 point{p[0], p[1], p[2]};
      if (source_.transform != nullptr) point = TransformPoint(*source_.transform, point);
      vertices_.push_back({{point[0], point[1], point[2]}});
    }
    return static_cast<uint32_t>(id);
  }

  const ThreeMfMeshSource &source_;
  InternTable<PositionBits, PositionBitsHash> welded_;  // distinct positions by their bits
  std::vector<NMR::MODELMESHVERTEX> vertices_;
  std::vector<NMR::MODELMESHTRIANGLE> triangles_;
  std::vector<std::array<uint32_t, 3>> corners_;
};

// The model material of each triangle, in written order.
std::vector<int32_t> TriangleMaterials(const ThreeMfMeshSource &source) {
  std::vector<int32_t> materials;
  for (const TriangleGroup &group : source.flat->groups) {
    materials.insert(materials.end(), group.indices.size() / 3, GroupMaterial(group, *source.placement));
  }
  return materials;
}

void SetBaseMaterials(NMR::PLib3MFBase *handler, const std::vector<int32_t> &materials, DWORD materials_id) {
  std::vector<NMR::ModelResourceID> groups(materials.size(), materials_id);
  std::vector<DWORD> indices(materials.begin(), materials.end());
  CheckThreeMf(NMR::lib3mf_propertyhandler_setbasematerialarray(handler, groups.data(), indices.data()), handler,
               "cannot set the triangles' materials");
}

// Per corner: the vertex colour times the material's diffuse colour, with
// the material's opacity.
void SetCornerColors(NMR::PLib3MFBase *handler, const ExportModel &model, const ObjectGeometry &geometry,
                     const std::vector<int32_t> &materials, const std::vector<float> &colors) {
  std::vector<NMR::MODELMESH_TRIANGLECOLOR_SRGB> triangles(materials.size());
  for (size_t t = 0; t < triangles.size(); ++t) {
    const ModelMaterial &material = model.materials[materials[t]];
    for (int k = 0; k < 3; ++k) {
      const float *vertex = &colors[3 * geometry.corners()[t][k]];
      const Vec3 &diffuse = material.diffuse;
      triangles[t].m_Colors[k] = {ColorByte(vertex[0] * diffuse[0]), ColorByte(vertex[1] * diffuse[1]),
                                  ColorByte(vertex[2] * diffuse[2]), ColorByte(material.opacity)};
    }
  }
  CheckThreeMf(NMR::lib3mf_propertyhandler_setgradientcolorarray(handler, triangles.data()), handler,
               "cannot set the corners' colours");
}

void SetDefaultMaterial(NMR::PLib3MFBase *object, int32_t material, DWORD materials_id) {
  ThreeMfHandle handler;
  CheckThreeMf(NMR::lib3mf_object_createdefaultpropertyhandler(object, handler.Out()), object,
               "cannot give an object its material");
  CheckThreeMf(NMR::lib3mf_defaultpropertyhandler_setbasematerial(handler.get(), materials_id,
                                                                  static_cast<DWORD>(material)),
               handler.get(), "cannot give an object its material");
}

}  // namespace

NMR::MODELMESHCOLOR_SRGB MaterialColor(const ModelMaterial &material) {
  return {ColorByte(material.diffuse[0]), ColorByte(material.diffuse[1]), ColorByte(material.diffuse[2]),
          ColorByte(material.opacity)};
}

size_t FillMeshObject(NMR::PLib3MFBase *object, const ExportModel &model, const ThreeMfMeshSource &source,
                      DWORD materials_id) {
  ObjectGeometry geometry(source);
  geometry.Gather();
  CheckThreeMf(NMR::lib3mf_meshobject_setgeometry(object, geometry.vertices().data(),
                                                  static_cast<DWORD>(geometry.vertices().size()),
                                                  geometry.triangles().data(),
                                                  static_cast<DWORD>(geometry.triangles().size())),
               object, "cannot set a mesh's geometry");
  const std::vector<int32_t> materials = TriangleMaterials(source);
  const bool colors = !source.flat->colors.empty();
  const bool one_material =
      std::all_of(materials.begin(), materials.end(), [&](int32_t m) { return m == materials[0]; });
  // A plain object with one material needs no property per triangle.
  if (colors || !one_material) {
    ThreeMfHandle handler;
    CheckThreeMf(NMR::lib3mf_meshobject_createpropertyhandler(object, handler.Out()), object,
                 "cannot colour a mesh's triangles");
    if (colors) {
      SetCornerColors(handler.get(), model, geometry, materials, source.flat->colors);
    } else {
      SetBaseMaterials(handler.get(), materials, materials_id);
    }
  }
  SetDefaultMaterial(object, materials[0], materials_id);
  return geometry.triangles().size();
}

}  // namespace kavrel
