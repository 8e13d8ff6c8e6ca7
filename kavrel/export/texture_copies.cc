#include "kavrel/export/texture_copies.h"

#include <map>

#include "kavrel/export/export_notes.h"
#include "kavrel/export/file_names.h"
#include "kavrel/image/image_file.h"

namespace kavrel {
namespace {

// name with "_N" before its extension.
std::string Numbered(const std::string &name, int number) {
  const size_t dot = name.find_last_of('.');
  const std::string suffix = "_" + std::to_string(number);
  return dot == std::string::npos || dot == 0 ? name + suffix : name.substr(0, dot) + suffix + name.substr(dot);
}

}  // namespace

const TextureCopy *TextureCopies::For(const ModelMaterial &material) const {
  if (material.texture == kNone || by_texture[material.texture] == kNone) return nullptr;
  return &copies[by_texture[material.texture]];
}

TextureCopies PlanTextureCopies(const Host &host, const ExportModel &model, const std::string &output) {
  const std::string output_stem = FileNameOf(WithExtension(output, "")) + "_";
  TextureCopies plan;
  plan.by_texture.assign(model.textures.size(), kNone);
  std::vector<uint8_t> visited(model.textures.size(), 0);
  std::map<std::string, int> names_used;       // file names beside the output -> textures with that name so far
  for (const ModelMaterial &material : model.materials) {
    if (material.texture == kNone || visited[material.texture]) continue;
    visited[material.texture] = 1;
    const Texture &source = model.textures[material.texture].record;
    std::string reason;
    if (!host.texture_files().Readable(source.path, &reason)) {
      ReportExportWarning(host, "export: texture '" + source.name + "' (" + source.path + "): " + reason +
                          "; its surfaces keep their colours");
      continue;
    }
    std::string name = FileNameOf(source.path);
    if (host.scene().images_written.count(source.path)) name = output_stem + name;
    if (const int uses = names_used[name]++; uses > 0) name = Numbered(name, uses + 1);
    plan.by_texture[material.texture] = static_cast<int32_t>(plan.copies.size());
    plan.copies.push_back({source.path, name});
  }
  return plan;
}

bool CommitWithTextureCopies(StagedFiles &files, const TextureCopies &textures, const std::string &path,
                             std::string *error, ExportSummary *summary) {
  const std::string directory = DirectoryOf(path);
  for (const TextureCopy &copy : textures.copies) {
    if (!files.Failed()) files.Copy(copy.source, directory + copy.name);
  }
  summary->bytes = files.Bytes();
  if (files.Commit()) return true;
  *error = files.error();
  return false;
}

}  // namespace kavrel
