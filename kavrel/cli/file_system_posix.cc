#include "kavrel/cli/file_system.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace kavrel {

const char kPathSeparators[] = "/";

std::string AbsolutePath(const std::string &path) {
  if (!path.empty() && path[0] == '/') return path;
  char *cwd = getcwd(nullptr, 0);
  std::string absolute = std::string(cwd != nullptr ? cwd : ".") + "/" + path;
  std::free(cwd);
  return absolute;
}

bool MakeDirectory(const std::string &path) { return mkdir(path.c_str(), 0755) == 0; }

bool MakeTemporaryDirectory(const std::string &name, std::string *path) {
  const char *base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && base[0] == '/' ? base : "/tmp") + "/" + name + "-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) return false;
  *path = pattern;
  return true;
}

bool SameFile(const std::string &a, const std::string &b) {
  struct stat first, second;
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

bool DirectoryWritable(const std::string &directory) { return access(directory.c_str(), W_OK | X_OK) == 0; }

bool FileReadOnly(const std::string &path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(path.c_str(), W_OK) != 0;
}

}  // namespace kavrel
