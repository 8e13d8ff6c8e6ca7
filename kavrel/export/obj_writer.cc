#include "kavrel/export/obj_writer.h"

#include "kavrel/export/file_names.h"
#include "kavrel/export/staged_files.h"

namespace kavrel {

std::string ObjName(const std::string &name) {
  if (name.empty()) return "unnamed";
  std::string out = name;
  for (char &c : out) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == '#') c = '_';
  }
  return out;
}

bool ExportObj(const Host &host, const ExportModel &model, const std::string &path, std::string *error, ExportSummary *summary) {
  const TextureCopies textures = PlanTextureCopies(host, model, path);
  const std::vector<std::string> names = ObjMaterialNames(model);
  // Readers look for the library beside the .obj, by the name it gives.
  const std::string library = WithExtension(path, ".mtl");
  StagedFiles files(host);
  ObjCounts counts;
  // The .obj first: the file staged first is renamed into place last.
  WriteStagedText(files, path,
                  [&](TextOutput &out) { counts = WriteObjGeometry(model, names, FileNameOf(library), out); });
  if (!files.Failed()) {
    WriteStagedText(files, library, [&](TextOutput &out) { WriteMaterialLibrary(model, names, textures, out); });
  }
  summary->meshes = counts.groups;
  summary->triangles = counts.triangles;
  summary->lines = counts.lines;
  summary->points = counts.points;
  summary->materials = model.materials.size();
  summary->textures = textures.copies.size();
  return CommitWithTextureCopies(files, textures, path, error, summary);
}

}  // namespace kavrel
