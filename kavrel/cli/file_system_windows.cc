#include "kavrel/cli/file_system.h"

#include <direct.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace kavrel {

const char kPathSeparators[] = "/\\";

std::string AbsolutePath(const std::string &path) {
  char absolute[MAX_PATH * 4];
  return _fullpath(absolute, path.c_str(), sizeof absolute) != nullptr ? std::string(absolute) : path;
}

bool MakeDirectory(const std::string &path) { return _mkdir(path.c_str()) == 0; }

bool MakeTemporaryDirectory(const std::string &name, std::string *path) {
  char base[MAX_PATH + 1];
  DWORD size = GetTempPathA(sizeof base, base);  // ends with a backslash
  if (size == 0 || size > MAX_PATH) {
    errno = ENOENT;
    return false;
  }
  // No mkdtemp here: a name from the process, the clock and a counter,
  // tried until one is new.
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "-%lx%lx%02x", GetCurrentProcessId(), GetTickCount(), attempt);
    std::string candidate = std::string(base, size) + name + suffix;
    if (_mkdir(candidate.c_str()) == 0) {
      *path = candidate;
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

bool SameFile(const std::string &a, const std::string &b) {
  BY_HANDLE_FILE_INFORMATION info[2];
  const std::string *paths[2] = {&a, &b};
  for (int i = 0; i < 2; ++i) {
    HANDLE file = CreateFileA(paths[i]->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool known = GetFileInformationByHandle(file, &info[i]);
    CloseHandle(file);
    if (!known) return false;
  }
  return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
         info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

// A directory's read-only attribute does not stop new files in it, and the
// access rights are the file system's to judge when the file is made.
bool DirectoryWritable(const std::string &directory) { return _access(directory.c_str(), 0) == 0; }

bool FileReadOnly(const std::string &path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

}  // namespace kavrel
