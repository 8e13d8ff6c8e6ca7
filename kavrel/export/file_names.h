// The parts of the paths an export writes and copies: outputs are named by
// the user, texture images by the input file, in the platform's form.
#ifndef KAVREL_EXPORT_FILE_NAMES_H
#define KAVREL_EXPORT_FILE_NAMES_H

#include <string>

namespace kavrel {

// The characters that end a directory part of a path: "/", on Windows "/\".
#ifdef _WIN32
constexpr char kExportPathSeparators[] = "/\\";
#else
constexpr char kExportPathSeparators[] = "/";
#endif

// The last part of path: "out/scene.obj" -> "scene.obj".
inline std::string FileNameOf(const std::string &path) {
  const size_t separator = path.find_last_of(kExportPathSeparators);
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

// The directory part of path with its separator: "out/scene.obj" -> "out/", "scene.obj" -> "".
inline std::string DirectoryOf(const std::string &path) {
  const size_t separator = path.find_last_of(kExportPathSeparators);
  return separator == std::string::npos ? "" : path.substr(0, separator + 1);
}

// path with its extension (if any) replaced: ("out/scene.obj", ".mtl") -> "out/scene.mtl".
inline std::string WithExtension(const std::string &path, const std::string &extension) {
  const size_t separator = path.find_last_of(kExportPathSeparators);
  const size_t dot = path.find_last_of('.');
  const bool has_extension = dot != std::string::npos && (separator == std::string::npos || dot > separator);
  return (has_extension ? path.substr(0, dot) : path) + extension;
}

}  // namespace kavrel

#endif
