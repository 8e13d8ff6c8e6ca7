#include "kavrel/cli/output_path.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "kavrel/cli/file_system.h"

namespace kavrel {

namespace {

// The directory part of path as the kernel sees it ("." for a bare name).
std::string DirectoryOf(const std::string &path) {
  std::string::size_type slash = path.find_last_of(kPathSeparators);
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

std::string DefaultOutputPath(const std::string &input) {
  std::string name = input;
  while (name.size() > 1 && name.find_last_of(kPathSeparators) == name.size() - 1) name.pop_back();
  std::string::size_type slash = name.find_last_of(kPathSeparators);
  if (slash != std::string::npos) name.erase(0, slash + 1);
  std::string::size_type dot = name.find_last_of('.');
  // A leading dot names a hidden file, not an extension.
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name + ".glb";
}

bool CheckOutputWritable(const std::string &path, std::string *error) {
  struct stat info;
  if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    *error = "output '" + path + "' is a directory";
    return false;
  }
  std::string directory = DirectoryOf(path);
  if (stat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    *error = "output directory '" + directory + "' does not exist";
    return false;
  }
  // The exporter writes a temporary file beside path and renames it, so the
  // directory itself must be writable even when path already exists.
  if (!DirectoryWritable(directory)) {
    *error = "cannot write into output directory '" + directory + "': " + std::strerror(errno);
    return false;
  }
  return true;
}

bool CheckOutputReplaceable(const std::string &path, const std::vector<std::string> &inputs, bool overwrite,
                            std::string *error) {
  for (const std::string &input : inputs) {
    if (SameFile(input, path)) {
      *error = "output '" + path + "' is the input file '" + input + "'; choose another output with -o";
      return false;
    }
  }
  // The rename would replace it all the same; a read-only file says that
  // its owner wants it kept.
  if (!overwrite && FileReadOnly(path)) {
    *error = "output '" + path + "' exists and is read-only; --overwrite replaces it";
    return false;
  }
  return true;
}

}  // namespace kavrel
