#include "kavrel/export/gltf_meshes.h"

namespace kavrel {
namespace {

// Meshes without a group on the instance's surface are the same for every
// placement: they share this key.
constexpr int32_t kAnyInstanceMaterial = -2;

void WriteAttribute(JsonWriter &out, const char *name, int accessor) {
  if (accessor >= 0) out.Field(name, accessor);
}

}  // namespace

GltfMeshes::GltfMeshes(const ExportModel &model, GltfDocument &doc, GltfMaterials &materials)
    : model_(model),
      doc_(doc),
      materials_(materials),
      accessors_(model.meshes.size()),
      written_(model.meshes.size(), 0) {}

const GltfMeshes::Accessors &GltfMeshes::AccessorsOf(int32_t mesh) {
  Accessors &out = accessors_[mesh];
  if (written_[mesh]) return out;
  written_[mesh] = 1;
  const FlatMesh &flat = model_.meshes[mesh].flat;
  out.position = doc_.AddFloatAccessor(flat.positions, 3, true);
  // Only triangles are lit and textured: a mesh of lines and points only
  // writes no normals and texture coordinates that nothing would use.
  const bool triangles = !flat.groups.empty();
  if (triangles && !flat.normals.empty()) out.normal = doc_.AddFloatAccessor(flat.normals, 3, false);
  if (triangles && !flat.texcoords.empty()) out.texcoord = doc_.AddFloatAccessor(flat.texcoords, 2, false);
  if (!flat.colors.empty()) out.color = doc_.AddFloatAccessor(flat.colors, 3, false);
  ForEachGroup(flat, [&](PrimitiveKind kind, const PrimitiveGroup &group) {
    out.indices.push_back(doc_.AddIndexAccessor(group.indices, static_cast<int>(VerticesPer(kind))));
  });
  return out;
}

// The white default is for shapes with vertex colours; other shapes
// without a surface get no material.
int GltfMeshes::MaterialOf(int32_t material, const ModelMesh &mesh) {
  if (model_.materials[material].surface == kNone && mesh.flat.colors.empty()) return -1;
  return materials_.For(material);
}

int GltfMeshes::MeshFor(const ModelPlacement &placement) {
  if (placement.mesh == kNone) return -1;
  AccessorsOf(placement.mesh);
  const ModelMesh &mesh = model_.meshes[placement.mesh];
  const int32_t instance_material =
      mesh.instance_surface ? MaterialOf(placement.instance_material, mesh) : kAnyInstanceMaterial;
  const uint64_t key = static_cast<uint64_t>(placement.mesh) << 32 | static_cast<uint32_t>(instance_material + 2);
  auto [it, made] = meshes_.try_emplace(key, -1);
  if (made) it->second = WriteMesh(placement.mesh, instance_material);
  return it->second;
}

int GltfMeshes::WriteMesh(int32_t mesh_index, int32_t instance_material) {
  const ModelMesh &mesh = model_.meshes[mesh_index];
  const Accessors &accessors = accessors_[mesh_index];
  // The materials first: making one may write a texture, and the mesh is
  // written in one go.
  materials_scratch_.clear();
  ForEachGroup(mesh.flat, [&](PrimitiveKind, const PrimitiveGroup &group) {
    materials_scratch_.push_back(group.material == kNone ? instance_material : MaterialOf(group.material, mesh));
  });
  int index = 0;
  JsonWriter &out = doc_.Item(GltfArray::kMeshes, &index);
  out.BeginObject();
  out.Field("name", mesh.name);
  out.Key("primitives");
  out.BeginArray();
  size_t k = 0;
  ForEachGroup(mesh.flat, [&](PrimitiveKind kind, const PrimitiveGroup &) {
    const bool triangles = kind == PrimitiveKind::kTriangles;
    out.BeginObject();
    out.Key("attributes");
    out.BeginObject();
    WriteAttribute(out, "POSITION", accessors.position);
    if (triangles) {
      WriteAttribute(out, "NORMAL", accessors.normal);
      WriteAttribute(out, "TEXCOORD_0", accessors.texcoord);
    }
    WriteAttribute(out, "COLOR_0", accessors.color);
    out.EndObject();
    out.Field("indices", accessors.indices[k]);
    if (!triangles) out.Field("mode", kind == PrimitiveKind::kLines ? gl::kLines : gl::kPoints);
    if (materials_scratch_[k] >= 0) out.Field("material", materials_scratch_[k]);
    out.EndObject();
    ++k;
  });
  out.EndArray();
  out.EndObject();
  return index;
}

}  // namespace kavrel
