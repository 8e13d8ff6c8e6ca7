// The geometry of an OBJ output: every placement's triangle groups in
// world space.
#include "kavrel/export/group_vertices.h"
#include "kavrel/export/obj_writer.h"
#include "kavrel/export/world_space.h"

namespace kavrel {
namespace {

Vec3 VectorAt(const std::vector<float> &values, uint32_t v) {
  return {values[3 * v], values[3 * v + 1], values[3 * v + 2]};
}

class GeometryWriter {
 public:
  GeometryWriter(const ExportModel &model, const std::vector<std::string> &material_names, TextOutput &out);

  // Every placement in order, each mesh's per-face groups before the
  // group drawn with the instance's surface.
  void PlaceAll();
  const ObjCounts &counts() const { return counts_; }

 private:
  void Place(const ModelPlacement &placement);
  void Group(const FlatMesh &flat, const TriangleGroup &group, int32_t material, const std::string &name,
             const ModelPlacement &placement, const NormalTransform &normals);
  void Positions(const FlatMesh &flat, const Matrix &world);
  void TexCoords(const FlatMesh &flat);
  void Normals(const FlatMesh &flat, const NormalTransform &transform);
  void Faces(const FlatMesh &flat, const TriangleGroup &group, bool reversed);
  void Corner(uint64_t number, bool texcoords, bool normals);
  void Numbers(const char *tag, const float *values, int count);

  const ExportModel &model_;
  const std::vector<std::string> &material_names_;
  TextOutput &out_;
  bool colors_ = false;                        // every "v" carries a colour
  uint64_t written_ = 0;                       // vertices written before the current group
  GroupVertices vertices_;                     // the current group's
  ObjCounts counts_;
};

GeometryWriter::GeometryWriter(const ExportModel &model, const std::vector<std::string> &material_names,
                               TextOutput &out)
    : model_(model), material_names_(material_names), out_(out) {
  // Readers take colours for every vertex or for none.
  for (const ModelMesh &mesh : model.meshes) colors_ = colors_ || !mesh.flat.colors.empty();
}

void GeometryWriter::PlaceAll() {
  for (const ModelPlacement &placement : model_.placements) {
    if (placement.mesh != kNone) Place(placement);
  }
}

void GeometryWriter::Place(const ModelPlacement &placement) {
  const FlatMesh &flat = model_.meshes[placement.mesh].flat;
  const NormalTransform normals = NormalTransformOf(placement.world);
  // Groups named after the placement: readers join consecutive groups of
  // one name and material, which two placements of a mesh would be otherwise.
  const std::string name = ObjName(placement.name);
  for (const bool own_material : {true, false}) {
    for (const TriangleGroup &group : flat.groups) {
      if ((group.material != kNone) != own_material) continue;
      Group(flat, group, GroupMaterial(group, placement), name, placement, normals);
    }
  }
}

void GeometryWriter::Group(const FlatMesh &flat, const TriangleGroup &group, int32_t material,
                           const std::string &name, const ModelPlacement &placement,
                           const NormalTransform &normals) {
  vertices_.Gather(group, flat.vertex_count());
  out_.Text("\ng ");
  out_.Text(name);
  out_.Char('\n');
  Positions(flat, placement.world);
  TexCoords(flat);
  Normals(flat, normals);
  out_.Text("usemtl ");
  out_.Text(material_names_[material]);
  out_.Char('\n');
  Faces(flat, group, placement.mirrors);
  written_ += vertices_.used().size();
  ++counts_.groups;
  counts_.triangles += group.indices.size() / 3;
}

void GeometryWriter::Numbers(const char *tag, const float *values, int count) {
  out_.Text(tag);
  for (int i = 0; i < count; ++i) {
    out_.Char(' ');
    out_.Float(values[i]);
  }
}

void GeometryWriter::Positions(const FlatMesh &flat, const Matrix &world) {
  static const float kWhite[3] = {1, 1, 1};
  for (uint32_t v : vertices_.used()) {
    const Vec3 p = TransformPoint(world, VectorAt(flat.positions, v));
    Numbers("v", p.data(), 3);
    if (colors_) Numbers("", flat.colors.empty() ? kWhite : &flat.colors[3 * v], 3);
    out_.Char('\n');
  }
}

void GeometryWriter::TexCoords(const FlatMesh &flat) {
  if (flat.texcoords.empty()) return;
  for (uint32_t v : vertices_.used()) {
    // The model's v runs downwards; OBJ's runs upwards.
    const float uv[2] = {flat.texcoords[2 * v], 1.0f - flat.texcoords[2 * v + 1]};
    Numbers("vt", uv, 2);
    out_.Char('\n');
  }
}

void GeometryWriter::Normals(const FlatMesh &flat, const NormalTransform &transform) {
  if (flat.normals.empty()) return;
  for (uint32_t v : vertices_.used()) {
    const Vec3 n = TransformNormal(transform, VectorAt(flat.normals, v));
    Numbers("vn", n.data(), 3);
    out_.Char('\n');
  }
}

void GeometryWriter::Corner(uint64_t number, bool texcoords, bool normals) {
  out_.Char(' ');
  out_.Unsigned(number);
  if (!texcoords && !normals) return;
  out_.Char('/');
  if (texcoords) out_.Unsigned(number);
  if (!normals) return;
  out_.Char('/');
  out_.Unsigned(number);
}

void GeometryWriter::Faces(const FlatMesh &flat, const TriangleGroup &group, bool reversed) {
  const bool texcoords = !flat.texcoords.empty(), normals = !flat.normals.empty();
  const uint64_t first = written_ + 1;  // OBJ counts from 1
  for (size_t t = 0; t + 2 < group.indices.size(); t += 3) {
    out_.Char('f');
    for (size_t k = 0; k < 3; ++k) {
      Corner(first + vertices_.Local(group.indices[t + (reversed ? 2 - k : k)]), texcoords, normals);
    }
    out_.Char('\n');
  }
}

}  // namespace

ObjCounts WriteObjGeometry(const ExportModel &model, const std::vector<std::string> &material_names,
                           const std::string &library, TextOutput &out) {
  out.Text("mtllib ");
  out.Text(library);
  out.Char('\n');
  GeometryWriter writer(model, material_names, out);
  writer.PlaceAll();
  return writer.counts();
}

}  // namespace kavrel
