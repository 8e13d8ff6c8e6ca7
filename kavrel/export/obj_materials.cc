// The material library of an OBJ output.
#include <unordered_set>

#include "kavrel/export/obj_writer.h"

namespace kavrel {
namespace {

// key, type, index: as the AI_MATKEY_COLOR_* macros give them.
void ColorLine(const aiMaterial &material, const char *key, unsigned type, unsigned index, const char *tag,
               TextOutput &out) {
  aiColor3D color;
  if (material.Get(key, type, index, color) != AI_SUCCESS) return;
  out.Text(tag);
  out.Float(color.r);
  out.Char(' ');
  out.Float(color.g);
  out.Char(' ');
  out.Float(color.b);
  out.Char('\n');
}

void FloatLine(const char *tag, float value, TextOutput &out) {
  out.Text(tag);
  out.Float(value);
  out.Char('\n');
}

}  // namespace

std::vector<std::string> ObjMaterialNames(const aiScene &scene) {
  std::vector<std::string> names;
  std::unordered_set<std::string> taken;
  for (unsigned m = 0; m < scene.mNumMaterials; ++m) {
    aiString given;
    scene.mMaterials[m]->Get(AI_MATKEY_NAME, given);
    const std::string base = ObjName(given.C_Str());
    std::string name = base;
    for (int number = 2; !taken.insert(name).second; ++number) name = base + "_" + std::to_string(number);
    names.push_back(name);
  }
  return names;
}

void WriteMaterialLibrary(const aiScene &scene, const std::vector<std::string> &names, TextOutput &out) {
  for (unsigned m = 0; m < scene.mNumMaterials; ++m) {
    const aiMaterial &material = *scene.mMaterials[m];
    if (m > 0) out.Char('\n');
    out.Text("newmtl ");
    out.Text(names[m]);
    out.Char('\n');
    ColorLine(material, AI_MATKEY_COLOR_DIFFUSE, "Kd ", out);
    ColorLine(material, AI_MATKEY_COLOR_AMBIENT, "Ka ", out);
    ColorLine(material, AI_MATKEY_COLOR_SPECULAR, "Ks ", out);
    ColorLine(material, AI_MATKEY_COLOR_EMISSIVE, "Ke ", out);
    float value = 0;
    if (material.Get(AI_MATKEY_OPACITY, value) == AI_SUCCESS) FloatLine("d ", value, out);
    // Illumination model 2 (with highlights) needs an exponent.
    const bool shiny = material.Get(AI_MATKEY_SHININESS, value) == AI_SUCCESS && value != 0;
    if (shiny) FloatLine("Ns ", value, out);
    out.Text(shiny ? "illum 2\n" : "illum 1\n");
    aiString texture;
    if (material.Get(AI_MATKEY_TEXTURE_DIFFUSE(0), texture) == AI_SUCCESS) {
      out.Text("map_Kd ");
      out.Text(texture.C_Str());
      out.Char('\n');
    }
  }
}

}  // namespace kavrel
