// Shapes of a VRML97 or X3D output: a placed mesh's triangle groups, each
// an IndexedFaceSet of the vertices it uses with its Appearance.
#include <algorithm>

#include "kavrel/export/vrml_stages.h"

namespace kavrel {
namespace {

// VRML97 has one ambient factor, of the diffuse colour. The host carries
// no ambient colour; Inventor's default is (0.2, 0.2, 0.2), so the factor
// gives the ambient term that default's luminance.
float AmbientIntensity(const Vec3 &diffuse) {
  constexpr float kInventorAmbient = 0.2f;
  const float luminance = 0.2126f * diffuse[0] + 0.7152f * diffuse[1] + 0.0722f * diffuse[2];
  return luminance > kInventorAmbient ? kInventorAmbient / luminance : 1.0f;
}

// Inventor's shininess 0..1 is the Phong exponent / 128, as the plug-in made it.
float Shininess(int32_t phong) { return std::clamp(static_cast<float>(phong) / 128.0f, 0.0f, 1.0f); }

}  // namespace

void VrmlScene::Shapes(const ModelPlacement &placement) {
  const FlatMesh &flat = model_.meshes[placement.mesh].flat;
  for (size_t g = 0; g < flat.groups.size(); ++g) {
    Shape(placement.mesh, static_cast<int32_t>(g), GroupMaterial(flat.groups[g], placement));
  }
}

void VrmlScene::Shape(int32_t mesh, int32_t group, int32_t material) {
  auto [shape, fresh] = shape_defs_.try_emplace({mesh, group, material});
  if (!fresh) {
    out_.Use(nullptr, "Shape", shape->second);
    return;
  }
  const ModelMesh &model_mesh = model_.meshes[mesh];
  // Named after the mesh's first object: readers name their objects so.
  shape->second = names_.Unique(model_mesh.name);
  out_.BeginNode(nullptr, "Shape", shape->second);
  Appearance(material);
  auto [geometry, first] = geometry_defs_.try_emplace({mesh, group});
  if (!first && !geometry->second.empty()) {
    out_.Use("geometry", "IndexedFaceSet", geometry->second);
  } else {
    // A group drawn with the placing instance's surface comes again with
    // another surface when the mesh is placed again: its faces are named.
    const bool again = model_mesh.flat.groups[group].material == kNone && mesh_placements_[mesh] > 1;
    if (again) geometry->second = names_.Unique(model_mesh.name + "_faces");
    Geometry(mesh, group, geometry->second);
  }
  out_.EndNode();
}

void VrmlScene::Appearance(int32_t material) {
  out_.BeginNode("appearance", "Appearance", "");
  Material(material);
  const ModelMaterial &record = model_.materials[material];
  if (const TextureCopy *copy = textures_.For(record)) ImageTexture(record.texture, *copy);
  out_.EndNode();
}

void VrmlScene::Material(int32_t material) {
  std::string &def = material_defs_[material];
  if (!def.empty()) {
    out_.Use("material", "Material", def);
    return;
  }
  const ModelMaterial &record = model_.materials[material];
  def = names_.Unique(record.distinct_name);
  out_.BeginNode("material", "Material", def);
  ++counts_.materials;
  out_.Field("diffuseColor", record.diffuse.data(), 3);
  out_.Field("specularColor", record.specular.data(), 3);
  out_.Field("emissiveColor", record.emissive.data(), 3);
  out_.Field("ambientIntensity", AmbientIntensity(record.diffuse));
  out_.Field("shininess", Shininess(record.shininess));
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

void VrmlScene::Geometry(int32_t mesh, int32_t group, const std::string &def) {
  const ModelMesh &model_mesh = model_.meshes[mesh];
  const FlatMesh &flat = model_mesh.flat;
  const TriangleGroup &triangles = flat.groups[group];
  vertices_.Gather(triangles, flat.vertex_count());
  out_.BeginNode("geometry", "IndexedFaceSet", def);
  ++counts_.geometries;
  counts_.triangles += triangles.indices.size() / 3;
  out_.Bool("solid", !model_mesh.double_sided);
  out_.Bool("ccw", true);
  out_.Bool("convex", true);
  if (!flat.normals.empty()) out_.Bool("normalPerVertex", true);
  if (!flat.colors.empty()) out_.Bool("colorPerVertex", true);
  // Normals, texture coordinates and colours are indexed by coordIndex too.
  out_.BeginValues("coordIndex", true);
  for (size_t t = 0; t + 2 < triangles.indices.size(); t += 3) {
    out_.Face(vertices_.Local(triangles.indices[t]), vertices_.Local(triangles.indices[t + 1]),
              vertices_.Local(triangles.indices[t + 2]));
  }
  out_.EndValues();
  Attribute("coord", "Coordinate", "point", flat.positions, 3);
  if (!flat.normals.empty()) Attribute("normal", "Normal", "vector", flat.normals, 3);
  // The model's v runs downwards; VRML's t runs upwards.
  if (!flat.texcoords.empty()) Attribute("texCoord", "TextureCoordinate", "point", flat.texcoords, 2, true);
  if (!flat.colors.empty()) Attribute("color", "Color", "color", flat.colors, 3);
  out_.EndNode();
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
