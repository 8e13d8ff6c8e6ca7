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
Json ScaledColor(const Vec3 &color, float coeff, ExportNotes &notes) {
  Json out = Json::array();
  for (float c : color) out.push_back(std::clamp(notes.Finite(c * coeff), 0.0f, 1.0f));
  return out;
}

float Roughness(int32_t shininess) {
  return std::sqrt(2.0f / (static_cast<float>(std::max(shininess, 0)) + 2.0f));
}

}  // namespace

GltfMaterials::GltfMaterials(const Scene &scene, GltfDocument &doc)
    : scene_(scene),
      doc_(doc),
      surface_material_(2 * scene.surfaces.items.size(), -1),
      textures_(scene.textures.items.size()) {
  std::fill(&samplers_[0][0][0], &samplers_[0][0][0] + 8, -1);
}

int GltfMaterials::ForSurface(int32_t surface, bool double_sided) {
  int &material = surface_material_[2 * surface + double_sided];
  if (material < 0) material = doc_.Add("materials", MakeMaterial(scene_.surfaces.items[surface], double_sided));
  return material;
}

int GltfMaterials::Default(bool double_sided) {
  int &material = default_[double_sided];
  if (material < 0) {
    Json made = {{"name", "default"},
                 {"pbrMetallicRoughness",
                  {{"baseColorFactor", {1.0f, 1.0f, 1.0f, 1.0f}},
                   {"metallicFactor", 0.0f},
                   {"roughnessFactor", Roughness(32)}}}};
    if (double_sided) made["doubleSided"] = true;
    material = doc_.Add("materials", std::move(made));
  }
  return material;
}

Json GltfMaterials::MakeMaterial(const Surface &surface, bool double_sided) {
  ExportNotes &notes = doc_.notes();
  float opacity = std::clamp(notes.Finite(surface.opacity, 1.0f), 0.0f, 1.0f);
  Json base = ScaledColor(surface.diffuse_color, surface.diffuse_coeff, notes);
  base.push_back(opacity);
  Json pbr = {{"baseColorFactor", std::move(base)},
              {"metallicFactor", 0.0f},
              {"roughnessFactor", Roughness(surface.phong_shininess)}};
  bool blend = opacity < 1.0f;
  if (const TextureLayer *layer = TextureLayerOf(surface)) {
    const TextureSlot &slot = TextureFor(scene_.textures.find_index(layer->texture), surface);
    if (slot.index >= 0) {
      pbr["baseColorTexture"] = {{"index", slot.index}};
      blend = blend || (layer->alpha_modulates_opacity && slot.has_alpha);
    }
  }
  Json material = {{"name", surface.name}, {"pbrMetallicRoughness", std::move(pbr)}};
  Json emissive = ScaledColor(surface.luminous_color, surface.luminous_coeff, notes);
  if (emissive != Json({0.0f, 0.0f, 0.0f})) material["emissiveFactor"] = std::move(emissive);
  if (blend) material["alphaMode"] = "BLEND";
  if (double_sided) material["doubleSided"] = true;
  return material;
}

// The first enabled layer that links a texture; a link to a texture the
// scene does not hold is reported and skipped.
const TextureLayer *GltfMaterials::TextureLayerOf(const Surface &surface) const {
  for (const TextureLayer &layer : surface.layers) {
    if (!layer.enabled || layer.texture.empty()) continue;
    int32_t texture = scene_.textures.find_index(layer.texture);
    if (texture != kNone && scene_.textures.items[texture].enabled) return &layer;
    if (texture == kNone) {
      ReportExportWarning("glTF export: surface '" + surface.name + "' links the unknown texture '" +
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
  if (!ReadImageFile(source.path, &pixels, &error) || !EncodeTexturePng(pixels, source, &png, &error)) {
    ReportExportWarning("glTF export: texture '" + source.name + "' (" + source.path + "): " + error +
                        "; surface '" + surface.name + "' keeps its colours");
    return slot;
  }
  int image = doc_.AddPngImage(std::move(png.bytes), source.name);
  slot.index = doc_.Add("textures", {{"name", source.name}, {"sampler", SamplerFor(source)}, {"source", image}});
  slot.has_alpha = png.has_alpha;
  return slot;
}

int GltfMaterials::SamplerFor(const Texture &texture) {
  bool mipmap = texture.filter == "mipmap";
  int &sampler = samplers_[texture.wrap_u][texture.wrap_v][mipmap];
  if (sampler < 0) {
    sampler = doc_.Add("samplers", {{"magFilter", gl::kLinear},
                                    {"minFilter", mipmap ? gl::kLinearMipmapLinear : gl::kLinear},
                                    {"wrapS", texture.wrap_u ? gl::kRepeat : gl::kClampToEdge},
                                    {"wrapT", texture.wrap_v ? gl::kRepeat : gl::kClampToEdge}});
  }
  return sampler;
}

}  // namespace kavrel
