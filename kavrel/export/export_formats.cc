// Output formats by extension.
#include <algorithm>
#include <cctype>

#include "kavrel/host.h"

namespace kavrel {
namespace {

struct FormatName {
  ExportFormat format;
  const char *extension;                       // without the dot, lower case
};

constexpr FormatName kFormats[] = {
    {ExportFormat::kGlb, "glb"}, {ExportFormat::kGltf, "gltf"}, {ExportFormat::kJson, "json"},
    {ExportFormat::kObj, "obj"}, {ExportFormat::kPly, "ply"},   {ExportFormat::kStl, "stl"},
    {ExportFormat::kDae, "dae"}, {ExportFormat::k3mf, "3mf"},   {ExportFormat::kFbx, "fbx"},
    {ExportFormat::kX3d, "x3d"}, {ExportFormat::kWrl, "wrl"},
};

std::string LowerExtension(const std::string &path) {
  size_t dot = path.find_last_of('.');
  size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

}  // namespace

bool ExportFormatFromPath(const std::string &path, ExportFormat *format) {
  const std::string extension = LowerExtension(path);
  for (const FormatName &entry : kFormats) {
    if (extension == entry.extension) {
      *format = entry.format;
      return true;
    }
  }
  return false;
}

const char *ExportFormatName(ExportFormat format) {
  for (const FormatName &entry : kFormats) {
    if (entry.format == format) return entry.extension;
  }
  return "";
}

std::string ExportExtensionList() {
  std::string list;
  for (const FormatName &entry : kFormats) list += (list.empty() ? "." : ", .") + std::string(entry.extension);
  return list;
}

}  // namespace kavrel
