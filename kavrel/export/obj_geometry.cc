// The geometry of an OBJ output: every placement's triangle, line and
// point groups in world space.
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

  // Every placement in order, each mesh's triangle groups, then its line
  // groups, then its point groups, each kind's per-face groups before the
  // group drawn with the instance's surface.
  void PlaceAll();
  const ObjCounts &counts() const { return counts_; }

 private:
  // Lines written before the current group, of each kind that corners number.
  struct Written {
    uint64_t v = 0, vt = 0, vn = 0;
  };

  void Place(const ModelPlacement &placement);
  void Group(const FlatMesh &flat, PrimitiveKind kind, const PrimitiveGroup &group, int32_t material,
             const std::string &name, const ModelPlacement &placement, const NormalTransform &normals);
  void Gather(const PrimitiveGroup &group, size_t vertices);
  void Positions(const FlatMesh &flat, const Matrix &world);
  void TexCoords(const FlatMesh &flat);
  void Normals(const FlatMesh &flat, const NormalTransform &transform);
  void Elements(PrimitiveKind kind, const PrimitiveGroup &group, bool reversed, bool texcoords, bool normals);
  void Corner(int32_t local, bool texcoords, bool normals);
  void Numbers(const char *tag, const float *values, int count);

  const ExportModel &model_;
  const std::vector<std::string> &material_names_;
  TextOutput &out_;
  bool colors_ = false;                        // every "v" carries a colour
  Written written_;
  std::vector<uint32_t> used_;                 // the current group's vertices, in order of first use
  std::vector<int32_t> local_;                 // by flat vertex: its index in used_, -1 when unused
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
  for (PrimitiveKind kind : kPrimitiveKinds) {
    for (const bool own_material : {true, false}) {
      for (const PrimitiveGroup &group : flat.GroupsOf(kind)) {
        if ((group.material != kNone) != own_material) continue;
        Group(flat, kind, group, GroupMaterial(group, placement), name, placement, normals);
      }
    }
  }
}

void GeometryWriter::Group(const FlatMesh &flat, PrimitiveKind kind, const PrimitiveGroup &group, int32_t material,
                           const std::string &name, const ModelPlacement &placement,
                           const NormalTransform &normals) {
  Gather(group, flat.vertex_count());
  out_.Text("\ng ");
  out_.Text(name);
  out_.Char('\n');
  Positions(flat, placement.world);
  // Segments and points are neither textured nor lit: positions only.
  const bool triangles = kind == PrimitiveKind::kTriangles;
  const bool texcoords = triangles && !flat.texcoords.empty(), with_normals = triangles && !flat.normals.empty();
  if (texcoords) TexCoords(flat);
  if (with_normals) Normals(flat, normals);
  out_.Text("usemtl ");
  out_.Text(material_names_[material]);
  out_.Char('\n');
  Elements(kind, group, triangles && placement.mirrors, texcoords, with_normals);
  written_.v += used_.size();
  if (texcoords) written_.vt += used_.size();
  if (with_normals) written_.vn += used_.size();
  ++counts_.groups;
  const size_t primitives = group.indices.size() / VerticesPer(kind);
  (triangles ? counts_.triangles : kind == PrimitiveKind::kLines ? counts_.lines : counts_.points) += primitives;
  for (uint32_t v : used_) local_[v] = -1;
}

// The vertices the group's primitives use, numbered in order of first use.
void GeometryWriter::Gather(const PrimitiveGroup &group, size_t vertices) {
  if (local_.size() < vertices) local_.resize(vertices, -1);
  used_.clear();
  for (uint32_t v : group.indices) {
    if (local_[v] >= 0) continue;
    local_[v] = static_cast<int32_t>(used_.size());
    used_.push_back(v);
  }
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
  for (uint32_t v : used_) {
    const Vec3 p = TransformPoint(world, VectorAt(flat.positions, v));
    Numbers("v", p.data(), 3);
    if (colors_) Numbers("", flat.colors.empty() ? kWhite : &flat.colors[3 * v], 3);
    out_.Char('\n');
  }
}

void GeometryWriter::TexCoords(const FlatMesh &flat) {
  for (uint32_t v : used_) {
    // The model's v runs downwards; OBJ's runs upwards.
    const float uv[2] = {flat.texcoords[2 * v], 1.0f - flat.texcoords[2 * v + 1]};
    Numbers("vt", uv, 2);
    out_.Char('\n');
  }
}

void GeometryWriter::Normals(const FlatMesh &flat, const NormalTransform &transform) {
  for (uint32_t v : used_) {
    const Vec3 n = TransformNormal(transform, VectorAt(flat.normals, v));
    Numbers("vn", n.data(), 3);
    out_.Char('\n');
  }
}

// The corner of the group's vertex local: "v", "v/vt", "v//vn" or
// "v/vt/vn", each numbered on from the lines of its kind written before
// the group (OBJ counts from 1).
void GeometryWriter::Corner(int32_t local, bool texcoords, bool normals) {
  out_.Char(' ');
  out_.Unsigned(written_.v + 1 + local);
  if (!texcoords && !normals) return;
  out_.Char('/');
  if (texcoords) out_.Unsigned(written_.vt + 1 + local);
  if (!normals) return;
  out_.Char('/');
  out_.Unsigned(written_.vn + 1 + local);
}

// "f" lines of three corners, "l" lines of two, "p" lines of one.
void GeometryWriter::Elements(PrimitiveKind kind, const PrimitiveGroup &group, bool reversed, bool texcoords,
                              bool normals) {
  const size_t n = VerticesPer(kind);
  const char tag = kind == PrimitiveKind::kTriangles ? 'f' : kind == PrimitiveKind::kLines ? 'l' : 'p';
  for (size_t p = 0; p + n <= group.indices.size(); p += n) {
    out_.Char(tag);
    for (size_t k = 0; k < n; ++k) Corner(local_[group.indices[p + (reversed ? n - 1 - k : k)]], texcoords, normals);
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
