// A model mesh as an FBX "Geometry": its flat vertices as the control
// points ("Vertices"), every triangle group's triangles one after the other
// ("PolygonVertexIndex", the last corner of each bitwise-negated), and the
// layer elements of layer 0, per polygon corner: normals (ByPolygonVertex,
// Direct), texture coordinates and colours (ByPolygonVertex, IndexToDirect
// into the vertices' own), and per polygon the material slot (ByPolygon,
// IndexToDirect into the model's materials).
#include <cstdint>
#include <functional>

#include "kavrel/export/fbx_stages.h"

namespace kavrel {
namespace {

// A sheared placement's mesh turned by the rotation its model could not
// carry; a rotation keeps the windings, so no face is reversed.
FlatMesh RotatedCopy(const FlatMesh &flat, const Matrix &rotation) {
  FlatMesh copy = flat;
  for (std::vector<float> *values : {&copy.positions, &copy.normals}) {
    for (size_t at = 0; at + 2 < values->size(); at += 3) {
      const Vec3 turned = common::TransformPoint(rotation, Vec3{(*values)[at], (*values)[at + 1], (*values)[at + 2]});
      for (int i = 0; i < 3; ++i) (*values)[at + i] = turned[i];
    }
  }
  return copy;
}

class GeometryWriter {
 public:
  GeometryWriter(const FlatMesh &flat, const FbxGeometry &geometry, FbxBinary &out);

  void Write(const std::string &name);

 private:
  void Polygons();
  void BeginLayerElement(const char *element, const char *name, const char *mapping, const char *reference);
  void Normals();
  void TexCoords();
  void Colors();
  void Materials();
  void Layer();
  // A layer element of per-vertex values (count numbers from fill) that
  // the corners index.
  void VertexValues(const char *element, const char *name, const char *values, const char *index, uint64_t count,
                    const std::function<void(uint64_t, size_t, double *)> &fill);

  const FlatMesh &flat_;
  const FbxGeometry &geometry_;
  FbxBinary &out_;
  std::vector<uint32_t> corners_;              // every triangle's corners, group after group
};

GeometryWriter::GeometryWriter(const FlatMesh &flat, const FbxGeometry &geometry, FbxBinary &out)
    : flat_(flat), geometry_(geometry), out_(out) {
  corners_.reserve(3 * geometry.triangles);
  for (const TriangleGroup &group : flat.groups) corners_.insert(corners_.end(), group.indices.begin(), group.indices.end());
}

void GeometryWriter::Write(const std::string &name) {
  out_.Begin("Geometry");
  out_.Int64(geometry_.id);
  out_.String(FbxName(name, "Geometry"));
  out_.String("Mesh");
  out_.IntRecord("GeometryVersion", 124);
  Polygons();
  if (!flat_.normals.empty()) Normals();
  if (!flat_.texcoords.empty()) TexCoords();
  if (!flat_.colors.empty()) Colors();
  Materials();
  Layer();
  out_.End();
}

void GeometryWriter::Polygons() {
  const std::vector<float> &positions = flat_.positions;
  out_.Begin("Vertices");
  out_.DoubleArray(positions.size(), [&](uint64_t first, size_t n, double *out) {
    for (size_t i = 0; i < n; ++i) out[i] = positions[first + i];
  });
  out_.End();
  out_.Begin("PolygonVertexIndex");
  out_.Int32Array(corners_.size(), [&](uint64_t first, size_t n, int32_t *out) {
    for (size_t i = 0; i < n; ++i) {
      const auto v = static_cast<int32_t>(corners_[first + i]);
      out[i] = (first + i) % 3 == 2 ? ~v : v;
    }
  });
  out_.End();
}

void GeometryWriter::BeginLayerElement(const char *element, const char *name, const char *mapping,
                                       const char *reference) {
  out_.Begin(element);
  out_.Int32(0);
  out_.IntRecord("Version", 101);
  out_.StringRecord("Name", name);
  out_.StringRecord("MappingInformationType", mapping);
  out_.StringRecord("ReferenceInformationType", reference);
}

void GeometryWriter::Normals() {
  BeginLayerElement("LayerElementNormal", "", "ByPolygonVertex", "Direct");
  out_.Begin("Normals");
  out_.DoubleArray(3 * corners_.size(), [&](uint64_t first, size_t n, double *out) {
    for (size_t i = 0; i < n; ++i) {
      const uint64_t element = first + i;
      out[i] = flat_.normals[3 * corners_[element / 3] + element % 3];
    }
  });
  out_.End();
  out_.End();
}

void GeometryWriter::VertexValues(const char *element, const char *name, const char *values, const char *index,
                                  uint64_t count, const std::function<void(uint64_t, size_t, double *)> &fill) {
  BeginLayerElement(element, name, "ByPolygonVertex", "IndexToDirect");
  out_.Begin(values);
  out_.DoubleArray(count, fill);
  out_.End();
  out_.Begin(index);
  out_.Int32Array(corners_.size(), [&](uint64_t first, size_t n, int32_t *out) {
    for (size_t i = 0; i < n; ++i) out[i] = static_cast<int32_t>(corners_[first + i]);
  });
  out_.End();
  out_.End();
}

void GeometryWriter::TexCoords() {
  // The flat mesh's v runs downwards, FBX's upwards.
  const std::vector<float> &uv = flat_.texcoords;
  VertexValues("LayerElementUV", "UVMap", "UV", "UVIndex", uv.size(), [&](uint64_t first, size_t n, double *out) {
    for (size_t i = 0; i < n; ++i) out[i] = (first + i) % 2 == 0 ? uv[first + i] : 1.0 - uv[first + i];
  });
}

void GeometryWriter::Colors() {
  // Red, green, blue and an opaque alpha.
  const std::vector<float> &rgb = flat_.colors;
  VertexValues("LayerElementColor", "Col", "Colors", "ColorIndex", 4 * flat_.vertex_count(),
               [&](uint64_t first, size_t n, double *out) {
                 for (size_t i = 0; i < n; ++i) {
                   const uint64_t element = first + i;
                   out[i] = element % 4 == 3 ? 1.0 : rgb[3 * (element / 4) + element % 4];
                 }
               });
}

void GeometryWriter::Materials() {
  BeginLayerElement("LayerElementMaterial", "", "ByPolygon", "IndexToDirect");
  std::vector<int32_t> slots;
  slots.reserve(geometry_.triangles);
  for (size_t g = 0; g < flat_.groups.size(); ++g) slots.insert(slots.end(), flat_.groups[g].indices.size() / 3, geometry_.slots[g]);
  out_.Begin("Materials");
  out_.Int32Array(slots.size(), [&](uint64_t first, size_t n, int32_t *out) {
    for (size_t i = 0; i < n; ++i) out[i] = slots[first + i];
  });
  out_.End();
  out_.End();
}

void GeometryWriter::Layer() {
  out_.Begin("Layer");
  out_.Int32(0);
  out_.IntRecord("Version", 100);
  const bool present[] = {!flat_.normals.empty(), !flat_.texcoords.empty(), !flat_.colors.empty(), true};
  const char *types[] = {"LayerElementNormal", "LayerElementUV", "LayerElementColor", "LayerElementMaterial"};
  for (int i = 0; i < 4; ++i) {
    if (!present[i]) continue;
    out_.Begin("LayerElement");
    out_.StringRecord("Type", types[i]);
    out_.IntRecord("TypedIndex", 0);
    out_.End();
  }
  out_.End();
}

}  // namespace

void WriteFbxGeometry(const ExportModel &model, const FbxGeometry &geometry, FbxBinary &out) {
  const ModelMesh &mesh = model.meshes[geometry.mesh];
  if (!geometry.rotated) {
    GeometryWriter(mesh.flat, geometry, out).Write(mesh.name);
    return;
  }
  const FlatMesh turned = RotatedCopy(mesh.flat, geometry.rotation);
  GeometryWriter(turned, geometry, out).Write(mesh.name);
}

}  // namespace kavrel
