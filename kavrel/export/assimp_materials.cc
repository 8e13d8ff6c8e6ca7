#include "kavrel/export/assimp_materials.h"

#include <algorithm>

#include "kavrel/export/export_notes.h"
#include "kavrel/image/image_file.h"

namespace kavrel {
namespace {

aiColor3D Scaled(const Vec3 &color, float coeff) {
  auto channel = [coeff](float c) { return std::isfinite(c * coeff) ? std::clamp(c * coeff, 0.0f, 1.0f) : 0.0f; };
  return aiColor3D(channel(color[0]), channel(color[1]), channel(color[2]));
}

std::string BaseName(const std::string &path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

AssimpMaterials::AssimpMaterials(const Host &host, bool with_textures)
    : host_(host),
      scene_(host.scene()),
      with_textures_(with_textures),
      index_(2 * (scene_.surfaces.items.size() + 1), -1),
      texture_copy_(scene_.textures.items.size(), -1) {}

AssimpMaterials::~AssimpMaterials() {
  for (aiMaterial *material : made_) delete material;
}

unsigned AssimpMaterials::For(int32_t surface, bool double_sided) {
  int &index = index_[2 * (surface + 1) + double_sided];
  if (index < 0) {
    index = static_cast<int>(made_.size());
    made_.push_back(Make(surface == kNone ? nullptr : &scene_.surfaces.items[surface], double_sided));
    // Formats that find materials by name (OBJ) would merge the two kinds.
    if (index_[2 * (surface + 1) + !double_sided] >= 0) {
      aiString name;
      made_.back()->Get(AI_MATKEY_NAME, name);
      const aiString marked(std::string(name.C_Str()) + (double_sided ? " double-sided" : " single-sided"));
      made_.back()->AddProperty(&marked, AI_MATKEY_NAME);
    }
  }
  return static_cast<unsigned>(index);
}

aiMaterial **AssimpMaterials::Release(unsigned *count) {
  // Formats with materials want at least one, even for a scene without meshes.
  if (made_.empty()) For(kNone, true);
  *count = static_cast<unsigned>(made_.size());
  aiMaterial **out = new aiMaterial *[made_.size()];
  std::copy(made_.begin(), made_.end(), out);
  made_.clear();
  return out;
}

aiMaterial *AssimpMaterials::Make(const Surface *surface, bool double_sided) {
  static const Surface kWhite = [] {
    Surface white;
    white.name = "default";
    white.diffuse_color = {1, 1, 1};
    return white;
  }();
  const Surface &s = surface != nullptr ? *surface : kWhite;
  auto *material = new aiMaterial();
  const aiString name(s.name);
  material->AddProperty(&name, AI_MATKEY_NAME);
  const int shading = aiShadingMode_Phong;
  material->AddProperty(&shading, 1, AI_MATKEY_SHADING_MODEL);
  const aiColor3D diffuse = Scaled(s.diffuse_color, s.diffuse_coeff);
  const aiColor3D specular = Scaled(s.specular_color, s.specular_coeff);
  const aiColor3D emissive = Scaled(s.luminous_color, s.luminous_coeff);
  material->AddProperty(&diffuse, 1, AI_MATKEY_COLOR_DIFFUSE);
  material->AddProperty(&specular, 1, AI_MATKEY_COLOR_SPECULAR);
  material->AddProperty(&emissive, 1, AI_MATKEY_COLOR_EMISSIVE);
  const float opacity = std::isfinite(s.opacity) ? std::clamp(s.opacity, 0.0f, 1.0f) : 1.0f;
  material->AddProperty(&opacity, 1, AI_MATKEY_OPACITY);
  const float shininess = static_cast<float>(std::max(s.phong_shininess, 0));
  material->AddProperty(&shininess, 1, AI_MATKEY_SHININESS);
  const int two_sided = double_sided;
  material->AddProperty(&two_sided, 1, AI_MATKEY_TWOSIDED);
  if (with_textures_ && surface != nullptr) AddTexture(s, *material);
  return material;
}

// The first enabled layer that links a usable texture, as in the glTF export.
void AssimpMaterials::AddTexture(const Surface &surface, aiMaterial &material) {
  for (const TextureLayer &layer : surface.layers) {
    if (!layer.enabled || layer.texture.empty()) continue;
    const int32_t texture = scene_.textures.find_index(layer.texture);
    if (texture == kNone || !scene_.textures.items[texture].enabled) continue;
    if (const std::string *name = TextureNameFor(texture)) {
      const aiString file(*name);
      material.AddProperty(&file, AI_MATKEY_TEXTURE_DIFFUSE(0));
    }
    return;
  }
}

// The name the texture's copy gets beside the output: the source's file
// name, numbered when another texture has already taken it. Null when the
// image cannot be read (reported; the material keeps its colours).
const std::string *AssimpMaterials::TextureNameFor(int32_t texture) {
  int &slot = texture_copy_[texture];
  if (slot == -2) return nullptr;
  if (slot >= 0) return &copies_[slot].name;
  const Texture &source = scene_.textures.items[texture];
  std::string reason;
  if (!host_.texture_files().Readable(source.path, &reason)) {
    ReportExportWarning(host_, "export: texture '" + source.name + "' (" + source.path + "): " + reason +
                        "; its surfaces keep their colours");
    slot = -2;
    return nullptr;
  }
  std::string name = BaseName(source.path);
  if (int uses = names_used_[name]++; uses > 0) {
    const size_t dot = name.find_last_of('.');
    const std::string suffix = "_" + std::to_string(uses + 1);
    name = dot == std::string::npos || dot == 0 ? name + suffix : name.substr(0, dot) + suffix + name.substr(dot);
  }
  slot = static_cast<int>(copies_.size());
  copies_.push_back({source.path, name});
  return &copies_[slot].name;
}

}  // namespace kavrel
