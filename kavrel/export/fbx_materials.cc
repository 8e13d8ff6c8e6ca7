// FBX "Material" objects (Phong), and for a material's texture a "Texture"
// object that names the copied image file and a "Video" object for the
// file itself. Each colour is written with a factor of 1, except the
// specular colour, whose brightest channel becomes its factor (Blender
// reads the factor alone as the specular strength). Opacity is written
// three ways, since readers pick different ones: "Opacity", and as
// "TransparencyFactor" = 1 - opacity on a white "TransparentColor".
#include <algorithm>

#include "kavrel/export/fbx_properties.h"
#include "kavrel/export/fbx_stages.h"

namespace kavrel {
namespace {

Double3 Color(const Vec3 &c) { return {c[0], c[1], c[2]}; }

void SpecularColor(const Vec3 &specular, FbxProperties &properties) {
  const double peak = std::max({specular[0], specular[1], specular[2], 0.0f});
  Double3 hue{0, 0, 0};
  if (peak > 0) hue = {specular[0] / peak, specular[1] / peak, specular[2] / peak};
  properties.Color("SpecularColor", hue);
  properties.Double("SpecularFactor", peak);
}

void WriteMaterial(const ModelMaterial &material, int64_t id, FbxBinary &out) {
  out.Begin("Material");
  out.Int64(id);
  out.String(FbxName(material.distinct_name, "Material"));
  out.String("");
  out.IntRecord("Version", 102);
  out.StringRecord("ShadingModel", "phong");
  out.IntRecord("MultiLayer", 0);
  {
    FbxProperties properties(out);
    properties.String("ShadingModel", "phong");
    properties.Color("DiffuseColor", Color(material.diffuse));
    properties.Double("DiffuseFactor", 1);
    properties.Color("AmbientColor", {0, 0, 0});
    properties.Double("AmbientFactor", 1);
    properties.Color("EmissiveColor", Color(material.emissive));
    properties.Double("EmissiveFactor", 1);
    SpecularColor(material.specular, properties);
    properties.Double("Shininess", material.shininess);
    properties.Double("ShininessExponent", material.shininess);
    properties.Color("TransparentColor", {1, 1, 1});
    properties.Double("TransparencyFactor", 1.0 - material.opacity);
    properties.Double("Opacity", material.opacity);
    properties.Double("ReflectionFactor", 0);
  }
  out.End();
}

// A texture and its video name the copy by its file name: it lies beside
// the output, which readers take relative names from.
void WriteTexture(const Texture &texture, const TextureCopy &copy, int64_t id, FbxBinary &out) {
  out.Begin("Texture");
  out.Int64(id);
  out.String(FbxName(texture.name, "Texture"));
  out.String("");
  out.StringRecord("Type", "TextureVideoClip");
  out.IntRecord("Version", 202);
  out.StringRecord("TextureName", FbxName(texture.name, "Texture"));
  {
    FbxProperties properties(out);
    properties.Bool("UseMaterial", true);
    properties.Enum("WrapModeU", texture.wrap_u ? 0 : 1);  // 0 repeat, 1 clamp
    properties.Enum("WrapModeV", texture.wrap_v ? 0 : 1);
  }
  out.StringRecord("Media", FbxName(copy.name, "Video"));
  out.StringRecord("FileName", copy.name);
  out.StringRecord("RelativeFilename", copy.name);
  out.End();
}

void WriteVideo(const TextureCopy &copy, int64_t id, FbxBinary &out) {
  out.Begin("Video");
  out.Int64(id);
  out.String(FbxName(copy.name, "Video"));
  out.String("Clip");
  out.StringRecord("Type", "Clip");
  {
    FbxProperties properties(out);
    properties.String("Path", copy.name);
  }
  out.IntRecord("UseMipMap", 0);
  out.StringRecord("Filename", copy.name);
  out.StringRecord("RelativeFilename", copy.name);
  out.End();
}

}  // namespace

void WriteFbxMaterials(const ExportModel &model, const FbxPlan &plan, FbxBinary &out) {
  for (int32_t material : plan.materials) WriteMaterial(model.materials[material], plan.material_ids[material], out);
  for (size_t texture = 0; texture < plan.texture_ids.size(); ++texture) {
    if (plan.texture_ids[texture] == 0) continue;
    const TextureCopy &copy = plan.copies.copies[plan.copies.by_texture[texture]];
    WriteTexture(model.textures[texture].record, copy, plan.texture_ids[texture], out);
  }
  for (size_t copy = 0; copy < plan.copies.copies.size(); ++copy)
    WriteVideo(plan.copies.copies[copy], plan.video_ids[copy], out);
}

}  // namespace kavrel
