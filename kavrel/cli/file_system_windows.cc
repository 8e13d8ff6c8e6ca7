#include "kavrel/cli/file_system.h"

#include <direct.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

namespace {

HANDLE OpenForQueries(const std::string &path) {
  // Directories open only with backup semantics; nothing is read.
  return CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

bool SameFile(const std::string &a, const std::string &b) {
  HANDLE files[2] = {OpenForQueries(a), INVALID_HANDLE_VALUE};
  if (files[0] != INVALID_HANDLE_VALUE) files[1] = OpenForQueries(b);
  // The volume and the file's number on it (GetFileInformationByHandle
  // would ask the mount manager for the volume's label too).
  FILE_ID_INFO ids[2];
  bool same = files[1] != INVALID_HANDLE_VALUE &&
              GetFileInformationByHandleEx(files[0], FileIdInfo, &ids[0], sizeof ids[0]) &&
              GetFileInformationByHandleEx(files[1], FileIdInfo, &ids[1], sizeof ids[1]) &&
              ids[0].VolumeSerialNumber == ids[1].VolumeSerialNumber &&
              std::memcmp(&ids[0].FileId, &ids[1].FileId, sizeof ids[0].FileId) == 0;
  for (HANDLE file : files) {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  return same;
}

// A directory's read-only attribute does not stop new files in it, and the
// access rights are the file system's to judge when the file is made.
bool DirectoryWritable(const std::string &directory) { return _access(directory.c_str(), 0) == 0; }

bool FileReadOnly(const std::string &path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

}  // namespace kavrel
