#include "kavrel/export/obj_writer.h"

namespace kavrel {
namespace {

// The material library's path: path with its extension replaced, as
// readers look for it beside the .obj.
std::string LibraryPath(const std::string &path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  const bool has_extension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (has_extension ? path.substr(0, dot) : path) + ".mtl";
}

std::string FileName(const std::string &path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Stages target and writes it with write(out); the staged file is closed
// (and a failure recorded) after the last block.
template <typename Write>
void WriteStaged(StagedFiles &files, const std::string &target, Write write) {
  FILE *file = files.Open(target);
  if (file == nullptr) return;
  {
    TextOutput out(file);
    write(out);
  }
  files.Close(file, target);
}

}  // namespace

std::string ObjName(const std::string &name) {
  if (name.empty()) return "unnamed";
  std::string out = name;
  for (char &c : out) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == '#') c = '_';
  }
  return out;
}

void WriteObj(const aiScene &scene, const std::string &path, StagedFiles &files) {
  const std::vector<std::string> names = ObjMaterialNames(scene);
  const std::string library = LibraryPath(path);
  // The .obj first: the file staged first is renamed into place last.
  WriteStaged(files, path, [&](TextOutput &out) { WriteObjGeometry(scene, names, FileName(library), out); });
  if (files.Failed()) return;
  WriteStaged(files, library, [&](TextOutput &out) { WriteMaterialLibrary(scene, names, out); });
}

}  // namespace kavrel
