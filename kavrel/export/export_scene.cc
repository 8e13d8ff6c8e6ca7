// The exporters' entry points declared in kavrel/host.h.
#include <algorithm>
#include <cctype>
#include <exception>

#include "kavrel/export/atomic_file.h"
#include "kavrel/export/gltf_stages.h"
#include "kavrel/host.h"

namespace kavrel {
namespace {

std::string LowerExtension(const std::string &path) {
  size_t dot = path.find_last_of('.');
  size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string extension = path.substr(dot);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

bool WriteExport(const Scene &scene, const std::string &path, ExportFormat format, std::string *reason) {
  if (format == ExportFormat::kJson) {
    const std::string text = DumpSceneJson(scene) + "\n";
    return WriteFileAtomically(path, ByteSpans{{text.data(), text.size()}}, reason);
  }
  GltfDocument doc(format == ExportFormat::kGlb ? GltfContainer::kGlb : GltfContainer::kGltf);
  BuildGltf(scene, doc);
  return WriteFileAtomically(path, doc.Serialize(), reason);
}

}  // namespace

bool ExportFormatFromPath(const std::string &path, ExportFormat *format) {
  const std::string extension = LowerExtension(path);
  if (extension == ".glb") {
    *format = ExportFormat::kGlb;
  } else if (extension == ".gltf") {
    *format = ExportFormat::kGltf;
  } else if (extension == ".json") {
    *format = ExportFormat::kJson;
  } else {
    return false;
  }
  return true;
}

bool ExportScene(const Scene &scene, const std::string &path, ExportFormat format, std::string *error) {
  std::string reason;
  try {
    if (WriteExport(scene, path, format, &reason)) return true;
  } catch (const std::exception &e) {  // out of memory for a huge scene
    reason = "cannot export to '" + path + "': " + e.what();
  }
  if (error) *error = reason;
  return false;
}

}  // namespace kavrel
