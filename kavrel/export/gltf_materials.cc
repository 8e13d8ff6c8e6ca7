#include "kavrel/export/gltf_materials.h"

#include <algorithm>
#include <cmath>

#include "kavrel/export/export_notes.h"
#include "kavrel/export/scene_walk.h"
#include "kavrel/export/texture_png.h"
#include "kavrel/image/image_file.h"

namespace kavrel {
namespace {

// Colour x coefficient per channel, clamped into glTF's 0..1 factors.
void ScaledColor(const Vec3 &color, float coeff, ExportNotes &notes, float out[3]) {
  for (int i = 0; i < 3; ++i) out[i] = std::clamp(notes.Finite(color[i] * coeff), 0.0f, 1.0f);
}

float Roughness(int32_t shininess) {
  return std::sqrt(2.0f / (static_cast<float>(std::max(shininess, 0)) + 2.0f));
}

// The pbrMetallicRoughness member; texture -1 for none.
void WritePbr(JsonWriter &out, const float base_color[4], float roughness, int texture) {
  out.Key("pbrMetallicRoughness");
  out.BeginObject();
  out.Key("baseColorFactor");
  out.Floats(base_color, 4);
  out.Field("metallicFactor", 0.0f);
  out.Field("roughnessFactor", roughness);
  if (texture >= 0) {
    out.Key("baseColorTexture");
    out.BeginObject();
    out.Field("index", texture);
    out.EndObject();
  }
  out.EndObject();
}

}  // namespace

GltfMaterials::GltfMaterials(const Host &host, GltfDocument &doc)
    : host_(host),
      scene_(host.scene()),
      doc_(doc),
      surface_material_(2 * scene_.surfaces.items.size(), -1),
      textures_(scene_.textures.items.size()) {
  std::fill(&samplers_[0][0][0], &samplers_[0][0][0] + 8, -1);
}

int GltfMaterials::ForSurface(int32_t surface, bool double_sided) {
  int &material = surface_material_[2 * surface + double_sided];
  if (material < 0) WriteMaterial(scene_.surfaces.items[surface], double_sided, &material);
  return material;
}

int GltfMaterials::Default(bool double_sided) {
  int &material = default_[double_sided];
  if (material < 0) {
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    JsonWriter &out = doc_.Item(GltfArray::kMaterials, &material);
    out.BeginObject();
    out.Field("name", "default");
    WritePbr(out, white, Roughness(32), -1);
    if (double_sided) out.Field("doubleSided", true);
    out.EndObject();
  }
  return material;
}

// The material of one surface record, written as the next material.
void GltfMaterials::WriteMaterial(const Surface &surface, bool double_sided, int *index) {
  ExportNotes &notes = doc_.notes();
  float base[4];
  ScaledColor(surface.diffuse_color, surface.diffuse_coeff, notes, base);
  base[3] = std::clamp(notes.Finite(surface.opacity, 1.0f), 0.0f, 1.0f);
  float emissive[3];
  ScaledColor(surface.luminous_color, surface.luminous_coeff, notes, emissive);
  bool blend = base[3] < 1.0f;
  int texture = -1;
  if (const TextureLayer *layer = TextureLayerOf(surface)) {
    const TextureSlot &slot = TextureFor(scene_.textures.find_index(layer->texture), surface);
    if (slot.index >= 0) {
      texture = slot.index;
      blend = blend || (layer->alpha_modulates_opacity && slot.has_alpha);
    }
  }
  JsonWriter &out = doc_.Item(GltfArray::kMaterials, index);
  out.BeginObject();
  out.Field("name", surface.name);
  WritePbr(out, base, Roughness(surface.phong_shininess), texture);
  if (emissive[0] != 0.0f || emissive[1] != 0.0f || emissive[2] != 0.0f) {
    out.Key("emissiveFactor");
    out.Floats(emissive, 3);
  }
  if (blend) out.Field("alphaMode", "BLEND");
  if (double_sided) out.Field("doubleSided", true);
  out.EndObject();
}

// The first enabled layer that links a texture; a link to a texture the
// scene does not hold is reported and skipped.
const TextureLayer *GltfMaterials::TextureLayerOf(const Surface &surface) const {
  for (const TextureLayer &layer : surface.layers) {
    if (!layer.enabled || layer.texture.empty()) continue;
    int32_t texture = scene_.textures.find_index(layer.texture);
    if (texture != kNone && scene_.textures.items[texture].enabled) return &layer;
    if (texture == kNone) {
      ReportExportWarning(host_, "glTF export: surface '" + surface.name + "' links the unknown texture '" +
                          layer.texture + "'; the surface keeps its colours");
    }
  }
  return nullptr;
}

const GltfMaterials::TextureSlot &GltfMaterials::TextureFor(int32_t texture, const Surface &surface) {
  TextureSlot &slot = textures_[texture];
  if (slot.visited) return slot;
  slot.visited = true;
  const Texture &source = scene_.textures.items[texture];
  ImagePixels pixels;
  PngImage png;
  std::string error;
  if (!host_.texture_files().Read(source.path, &pixels, &error) || !EncodeTexturePng(pixels, source, &png, &error)) {
    ReportExportWarning(host_, "glTF export: texture '" + source.name + "' (" + source.path + "): " + error +
                        "; surface '" + surface.name + "' keeps its colours");
    return slot;
  }
  int image = doc_.AddPngImage(std::move(png.bytes), source.name);
  slot.index =
      doc_.Add(GltfArray::kTextures, {{"name", source.name}, {"sampler", SamplerFor(source)}, {"source", image}});
  slot.has_alpha = png.has_alpha;
  return slot;
}

int GltfMaterials::SamplerFor(const Texture &texture) {
  bool mipmap = texture.filter == "mipmap";
  int &sampler = samplers_[texture.wrap_u][texture.wrap_v][mipmap];
  if (sampler < 0) {
    sampler = doc_.Add(GltfArray::kSamplers, {{"magFilter", gl::kLinear},
                                    {"minFilter", mipmap ? gl::kLinearMipmapLinear : gl::kLinear},
                                    {"wrapS", texture.wrap_u ? gl::kRepeat : gl::kClampToEdge},
                                    {"wrapT", texture.wrap_v ? gl::kRepeat : gl::kClampToEdge}});
  }
  return sampler;
}

}  // namespace kavrel
