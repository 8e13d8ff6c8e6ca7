// Shapes of a VRML97 or X3D output: a placed mesh's triangle, line and
// point groups, each an IndexedFaceSet, IndexedLineSet or PointSet of the
// vertices it uses, with its Appearance.
#include <algorithm>

#include "common/vec3.h"
#include "kavrel/export/vrml_stages.h"

namespace kavrel {
namespace {

// Inventor adds the ambient colour times the environment's ambient light
// to every lit point, whatever the diffuse colour or the vertex colours.
// The host carries no environment (the plug-in sends none), so its default
// light, 0.2, is assumed, and that constant term is written where VRML97
// can carry a constant: in the emissive colour. VRML's ambientIntensity
// would scale the diffuse colour instead, and VRML97 viewers light it only
// with the lights' own ambient.
Vec3 WithInventorAmbient(const Vec3 &emissive, const Vec3 &ambient) {
  constexpr float kInventorAmbientLight = 0.2f;
  Vec3 out;
  for (int c = 0; c < 3; ++c) out[c] = std::min(emissive[c] + kInventorAmbientLight * ambient[c], 1.0f);
  return out;
}

// Inventor's shininess 0..1 is the Phong exponent / 128, as the plug-in made it.
float Shininess(float phong) { return std::clamp(phong / 128.0f, 0.0f, 1.0f); }

const char *GeometryType(PrimitiveKind kind) {
  switch (kind) {
    case PrimitiveKind::kTriangles: return "IndexedFaceSet";
    case PrimitiveKind::kLines: return "IndexedLineSet";
    default: return "PointSet";
  }
}

// Added to the mesh's name for the DEF name of a geometry used again.
const char *GeometrySuffix(PrimitiveKind kind) {
  switch (kind) {
    case PrimitiveKind::kTriangles: return "_faces";
    case PrimitiveKind::kLines: return "_lines";
    default: return "_points";
  }
}

Vec3 At(const std::vector<float> &data, uint32_t vertex) {
  return {data[3 * vertex], data[3 * vertex + 1], data[3 * vertex + 2]};
}

// Whether a triangle's corners turn clockwise about its corners' normals.
// Inventor lights a shape without a known vertex ordering on one side: the
// side its normals give, whichever way its faces are wound. A VRML97
// browser lights the back of a face that is not solid with the normals
// reversed, so a face wound against its normals would show its dark side.
bool WoundAgainstNormals(const FlatMesh &flat, const uint32_t *corners) {
  using common::Add, common::Cross, common::Dot, common::Sub;
  const Vec3 a = At(flat.positions, corners[0]);
  const Vec3 facing = Cross(Sub(At(flat.positions, corners[1]), a), Sub(At(flat.positions, corners[2]), a));
  const Vec3 normals =
      Add(Add(At(flat.normals, corners[0]), At(flat.normals, corners[1])), At(flat.normals, corners[2]));
  return Dot(facing, normals) < 0;
}

}  // namespace

void VrmlScene::Shapes(const ModelPlacement &placement) {
  const FlatMesh &flat = model_.meshes[placement.mesh].flat;
  for (PrimitiveKind kind : kPrimitiveKinds) {
    const std::vector<PrimitiveGroup> &groups = flat.GroupsOf(kind);
    for (size_t g = 0; g < groups.size(); ++g) {
      Shape(placement.mesh, kind, static_cast<int32_t>(g), GroupMaterial(groups[g], placement));
    }
  }
}

void VrmlScene::Shape(int32_t mesh, PrimitiveKind kind, int32_t group, int32_t material) {
  auto [shape, fresh] = shape_defs_.try_emplace({mesh, kind, group, material});
  if (!fresh) {
    out_.Use(nullptr, "Shape", shape->second);
    return;
  }
  const ModelMesh &model_mesh = model_.meshes[mesh];
  // Named after the mesh's first object: readers name their objects so.
  shape->second = names_.Unique(model_mesh.name);
  out_.BeginNode(nullptr, "Shape", shape->second);
  // VRML lights and textures faces only: lines and points are drawn in
  // their emissive colour.
  Appearance(material, kind == PrimitiveKind::kTriangles);
  auto [geometry, first] = geometry_defs_.try_emplace({mesh, kind, group});
  if (!first && !geometry->second.empty()) {
    out_.Use("geometry", GeometryType(kind), geometry->second);
  } else {
    // A group drawn with the placing instance's surface comes again with
    // another surface when the mesh is placed again: its geometry is named.
    const bool again = model_mesh.flat.GroupsOf(kind)[group].material == kNone && mesh_placements_[mesh] > 1;
    if (again) geometry->second = names_.Unique(model_mesh.name + GeometrySuffix(kind));
    Geometry(mesh, kind, group, geometry->second);
  }
  out_.EndNode();
}

void VrmlScene::Appearance(int32_t material, bool lit) {
  out_.BeginNode("appearance", "Appearance", "");
  Material(material, lit);
  const ModelMaterial &record = model_.materials[material];
  if (const TextureCopy *copy = textures_.For(record); copy != nullptr && lit) ImageTexture(record.texture, *copy);
  out_.EndNode();
}

void VrmlScene::Material(int32_t material, bool lit) {
  std::string &def = material_defs_[2 * material + !lit];
  if (!def.empty()) {
    out_.Use("material", "Material", def);
    return;
  }
  const ModelMaterial &record = model_.materials[material];
  def = names_.Unique(lit ? record.distinct_name : record.distinct_name + "_unlit");
  out_.BeginNode("material", "Material", def);
  ++counts_.materials;
  if (lit) {
    out_.Field("diffuseColor", record.diffuse.data(), 3);
    out_.Field("specularColor", record.specular.data(), 3);
    const Vec3 emissive = WithInventorAmbient(record.emissive, record.ambient);
    out_.Field("emissiveColor", emissive.data(), 3);
    out_.Field("ambientIntensity", 0.0f);
    out_.Field("shininess", Shininess(record.shininess));
  } else {
    // Inventor draws unlit lines and points in the diffuse colour; VRML in
    // the emissive colour alone. The diffuse colour is written black
    // because Coin3D adds it to the emissive one (wrapping past 1).
    const Vec3 black{0, 0, 0};
    out_.Field("diffuseColor", black.data(), 3);
    out_.Field("emissiveColor", record.diffuse.data(), 3);
  }
  out_.Field("transparency", 1.0f - record.opacity);
  out_.EndNode();
}

void VrmlScene::ImageTexture(int32_t texture, const TextureCopy &copy) {
  std::string &def = texture_defs_[texture];
  if (!def.empty()) {
    out_.Use("texture", "ImageTexture", def);
    return;
  }
  const Texture &record = model_.textures[texture].record;
  def = names_.Unique(record.name);
  out_.BeginNode("texture", "ImageTexture", def);
  ++counts_.textures;
  // The copy's name twice, the second time relative to the file: Blender's
  // X3D importer (3.4) takes a lone quoted URL, quotes and all, for the
  // file name, and finds the file in a list.
  out_.Strings("url", {copy.name, "./" + copy.name});
  out_.Bool("repeatS", record.wrap_u);
  out_.Bool("repeatT", record.wrap_v);
  out_.EndNode();
}

void VrmlScene::Geometry(int32_t mesh, PrimitiveKind kind, int32_t group, const std::string &def) {
  const ModelMesh &model_mesh = model_.meshes[mesh];
  const FlatMesh &flat = model_mesh.flat;
  const PrimitiveGroup &primitives = flat.GroupsOf(kind)[group];
  vertices_.Gather(primitives, flat.vertex_count());
  out_.BeginNode("geometry", GeometryType(kind), def);
  ++counts_.geometries;
  const size_t count = primitives.indices.size() / VerticesPer(kind);
  const bool triangles = kind == PrimitiveKind::kTriangles;
  if (triangles) {
    counts_.triangles += count;
    out_.Bool("solid", !model_mesh.double_sided);
    out_.Bool("ccw", true);
    out_.Bool("convex", true);
    if (!flat.normals.empty()) out_.Bool("normalPerVertex", true);
  } else {
    (kind == PrimitiveKind::kLines ? counts_.lines : counts_.points) += count;
  }
  if (!flat.colors.empty() && kind != PrimitiveKind::kPoints) out_.Bool("colorPerVertex", true);
  // A PointSet draws every point of its Coordinate: the group's vertices.
  if (kind != PrimitiveKind::kPoints) {
    const bool orient = triangles && model_mesh.double_sided && !flat.normals.empty();
    Indexed("coordIndex", primitives, VerticesPer(kind), orient ? &flat : nullptr);
  }
  Attribute("coord", "Coordinate", "point", flat.positions, 3);
  // Normals, texture coordinates and colours are indexed by coordIndex too;
  // lines and points take no normals or texture coordinates.
  if (triangles && !flat.normals.empty()) Attribute("normal", "Normal", "vector", flat.normals, 3);
  // The model's v runs downwards; VRML's t runs upwards.
  if (triangles && !flat.texcoords.empty()) {
    Attribute("texCoord", "TextureCoordinate", "point", flat.texcoords, 2, true);
  }
  if (!flat.colors.empty()) Attribute("color", "Color", "color", flat.colors, 3);
  out_.EndNode();
}

// The group's primitives, each its vertices' numbers in the group and -1;
// with orient_by, triangles wound against their normals turned over.
void VrmlScene::Indexed(const char *field, const PrimitiveGroup &group, size_t vertices, const FlatMesh *orient_by) {
  out_.BeginValues(field, true);
  uint32_t local[3];
  for (size_t p = 0; p + vertices <= group.indices.size(); p += vertices) {
    for (size_t k = 0; k < vertices; ++k) local[k] = vertices_.Local(group.indices[p + k]);
    if (orient_by != nullptr && WoundAgainstNormals(*orient_by, &group.indices[p])) std::swap(local[1], local[2]);
    out_.Indices(local, static_cast<int>(vertices));
  }
  out_.EndValues();
}

// The node of one vertex attribute, for the group's vertices in their order.
void VrmlScene::Attribute(const char *field, const char *type, const char *values, const std::vector<float> &data,
                          int size, bool flip_v) {
  out_.BeginNode(field, type, "");
  out_.BeginValues(values, true);
  for (uint32_t v : vertices_.used()) {
    float tuple[3];
    std::copy_n(&data[static_cast<size_t>(size) * v], size, tuple);
    if (flip_v) tuple[1] = 1.0f - tuple[1];
    out_.Tuple(tuple, size);
  }
  out_.EndValues();
  out_.EndNode();
}

}  // namespace kavrel
