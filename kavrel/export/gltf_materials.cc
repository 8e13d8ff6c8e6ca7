#include "kavrel/export/gltf_materials.h"

#include <algorithm>
#include <cmath>

#include "kavrel/export/export_notes.h"
#include "kavrel/export/texture_png.h"
#include "kavrel/image/image_file.h"

namespace kavrel {
namespace {

float Roughness(float shininess) {
  return std::sqrt(2.0f / (std::max(shininess, 0.0f) + 2.0f));
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

GltfMaterials::GltfMaterials(const Host &host, const ExportModel &model, GltfDocument &doc)
    : host_(host), model_(model), doc_(doc), materials_(model.materials.size(), -1), textures_(model.textures.size()) {
  std::fill(&samplers_[0][0][0], &samplers_[0][0][0] + 8, -1);
}

int GltfMaterials::For(int32_t material) {
  int &index = materials_[material];
  if (index < 0) WriteMaterial(model_.materials[material], &index);
  return index;
}

// One model material, written as the next material.
void GltfMaterials::WriteMaterial(const ModelMaterial &material, int *index) {
  const float base[4] = {material.diffuse[0], material.diffuse[1], material.diffuse[2], material.opacity};
  bool blend = material.opacity < 1.0f;
  int texture = -1;
  if (material.texture != kNone) {
    const TextureSlot &slot = TextureFor(material);
    if (slot.index >= 0) {
      texture = slot.index;
      blend = blend || (material.texture_alpha_opacity && slot.has_alpha);
    }
  }
  JsonWriter &out = doc_.Item(GltfArray::kMaterials, index);
  out.BeginObject();
  out.Field("name", material.name);
  WritePbr(out, base, Roughness(material.shininess), texture);
  if (material.emissive != Vec3{0, 0, 0}) {
    out.Key("emissiveFactor");
    out.Floats(material.emissive.data(), 3);
  }
  if (blend) out.Field("alphaMode", "BLEND");
  if (material.double_sided) out.Field("doubleSided", true);
  out.EndObject();
}

const GltfMaterials::TextureSlot &GltfMaterials::TextureFor(const ModelMaterial &material) {
  TextureSlot &slot = textures_[material.texture];
  if (slot.visited) return slot;
  slot.visited = true;
  const Texture &source = model_.textures[material.texture].record;
  ImagePixels pixels;
  PngImage png;
  std::string error;
  if (!host_.texture_files().Read(source.path, &pixels, &error) || !EncodeTexturePng(pixels, source, &png, &error)) {
    ReportExportWarning(host_, "glTF export: texture '" + source.name + "' (" + source.path + "): " + error +
                        "; surface '" + material.name + "' keeps its colours");
    return slot;
  }
  const int image = doc_.AddPngImage(std::move(png.bytes), source.name);
  WriteTexture(source, image, &slot.index);
  slot.has_alpha = png.has_alpha;
  return slot;
}

void GltfMaterials::WriteTexture(const Texture &texture, int image, int *index) {
  const int sampler = SamplerFor(texture);
  JsonWriter &out = doc_.Item(GltfArray::kTextures, index);
  out.BeginObject();
  out.Field("name", texture.name);
  out.Field("sampler", sampler);
  out.Field("source", image);
  out.EndObject();
}

int GltfMaterials::SamplerFor(const Texture &texture) {
  const bool mipmap = texture.filter == "mipmap";
  int &sampler = samplers_[texture.wrap_u][texture.wrap_v][mipmap];
  if (sampler < 0) {
    JsonWriter &out = doc_.Item(GltfArray::kSamplers, &sampler);
    out.BeginObject();
    out.Field("magFilter", gl::kLinear);
    out.Field("minFilter", mipmap ? gl::kLinearMipmapLinear : gl::kLinear);
    out.Field("wrapS", texture.wrap_u ? gl::kRepeat : gl::kClampToEdge);
    out.Field("wrapT", texture.wrap_v ? gl::kRepeat : gl::kClampToEdge);
    out.EndObject();
  }
  return sampler;
}

}  // namespace kavrel
