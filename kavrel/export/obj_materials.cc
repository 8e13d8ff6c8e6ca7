// The material library of an OBJ output.
#include <unordered_set>

#include "kavrel/export/obj_writer.h"

namespace kavrel {
namespace {

void ColorLine(const char *tag, const Vec3 &color, TextOutput &out) {
  out.Text(tag);
  out.Float(color[0]);
  out.Char(' ');
  out.Float(color[1]);
  out.Char(' ');
  out.Float(color[2]);
  out.Char('\n');
}

void FloatLine(const char *tag, float value, TextOutput &out) {
  out.Text(tag);
  out.Float(value);
  out.Char('\n');
}

}  // namespace

std::vector<std::string> ObjMaterialNames(const ExportModel &model) {
  std::vector<std::string> names;
  std::unordered_set<std::string> taken;
  for (const ModelMaterial &material : model.materials) {
    const std::string base = ObjName(material.distinct_name);
    std::string name = base;
    for (int number = 2; !taken.insert(name).second; ++number) name = base + "_" + std::to_string(number);
    names.push_back(name);
  }
  return names;
}

void WriteMaterialLibrary(const ExportModel &model, const std::vector<std::string> &names,
                          const TextureCopies &textures, TextOutput &out) {
  for (size_t m = 0; m < model.materials.size(); ++m) {
    const ModelMaterial &material = model.materials[m];
    if (m > 0) out.Char('\n');
    out.Text("newmtl ");
    out.Text(names[m]);
    out.Char('\n');
    ColorLine("Kd ", material.diffuse, out);
    ColorLine("Ks ", material.specular, out);
    ColorLine("Ke ", material.emissive, out);
    FloatLine("d ", material.opacity, out);
    // Illumination model 2 (with highlights) needs an exponent.
    const bool shiny = material.shininess != 0;
    if (shiny) FloatLine("Ns ", material.shininess, out);
    out.Text(shiny ? "illum 2\n" : "illum 1\n");
    if (const TextureCopy *copy = textures.For(material)) {
      out.Text("map_Kd ");
      out.Text(copy->name);
      out.Char('\n');
    }
  }
}

}  // namespace kavrel
