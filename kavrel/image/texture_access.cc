#include "kavrel/image/texture_access.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "kavrel/image/canonical_path.h"
#include "kavrel/image/run_files.h"

namespace kavrel {

bool TextureRoots::Set(const std::vector<std::string> &roots, std::string *error) {
  std::vector<std::string> resolved;
  for (const std::string &root : roots) {
    struct stat info;
    std::string canonical = CanonicalPath(root);
    if (canonical.empty() || stat(canonical.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
      *error = "texture root '" + root + "' is not a directory";
      return false;
    }
    if (canonical.back() != '/') canonical += '/';
    resolved.push_back(canonical);
  }
  resolved_ = std::move(resolved);
  return true;
}

bool TextureRoots::Contain(const std::string &canonical) const {
  for (const std::string &root : resolved_) {
    if (canonical.compare(0, root.size(), root) == 0) return true;
  }
  return false;
}

bool TextureFileReadable(const TextureRoots &roots, const std::string &path, std::string *reason) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    *reason = std::strerror(errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    *reason = S_ISDIR(info.st_mode) ? "it is a directory" : "it is not a regular file";
    return false;
  }
  if (roots.empty() || IsRunFile(path) || roots.Contain(CanonicalPath(path))) return true;
  *reason = "it is outside the texture roots";
  return false;
}

}  // namespace kavrel
