#include "kavrel/export/assimp_materials.h"

namespace kavrel {
namespace {

aiColor3D Color(const Vec3 &c) { return aiColor3D(c[0], c[1], c[2]); }

aiMaterial *MakeMaterial(const ModelMaterial &m, const TextureCopy *texture) {
  auto *material = new aiMaterial();
  const aiString name(m.distinct_name);
  material->AddProperty(&name, AI_MATKEY_NAME);
  const int shading = aiShadingMode_Phong;
  material->AddProperty(&shading, 1, AI_MATKEY_SHADING_MODEL);
  const aiColor3D diffuse = Color(m.diffuse), specular = Color(m.specular), emissive = Color(m.emissive);
  material->AddProperty(&diffuse, 1, AI_MATKEY_COLOR_DIFFUSE);
  material->AddProperty(&specular, 1, AI_MATKEY_COLOR_SPECULAR);
  material->AddProperty(&emissive, 1, AI_MATKEY_COLOR_EMISSIVE);
  material->AddProperty(&m.opacity, 1, AI_MATKEY_OPACITY);
  const float shininess = m.shininess;
  material->AddProperty(&shininess, 1, AI_MATKEY_SHININESS);
  const int two_sided = m.double_sided;
  material->AddProperty(&two_sided, 1, AI_MATKEY_TWOSIDED);
  if (texture != nullptr) {
    const aiString file(texture->name);
    material->AddProperty(&file, AI_MATKEY_TEXTURE_DIFFUSE(0));
  }
  return material;
}

}  // namespace

aiMaterial **MakeAssimpMaterials(const ExportModel &model, const TextureCopies *textures, unsigned *count) {
  *count = static_cast<unsigned>(model.materials.size());
  auto **out = new aiMaterial *[model.materials.size()];
  for (size_t m = 0; m < model.materials.size(); ++m) {
    const ModelMaterial &material = model.materials[m];
    out[m] = MakeMaterial(material, textures != nullptr ? textures->For(material) : nullptr);
  }
  return out;
}

}  // namespace kavrel
