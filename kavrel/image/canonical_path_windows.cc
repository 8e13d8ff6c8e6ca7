#include "kavrel/image/canonical_path.h"

#include <windows.h>

#include <algorithm>

namespace kavrel {

std::string CanonicalPath(const std::string &path) {
  // Directories open only with backup semantics; nothing is read.
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  char resolved[MAX_PATH * 4];
  DWORD size = GetFinalPathNameByHandleA(file, resolved, sizeof resolved, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  CloseHandle(file);
  if (size == 0 || size >= sizeof resolved) return std::string();
  std::string canonical(resolved, size);
  // The answer starts with "\\?\" (long-path form): C:\... is what users write.
  if (canonical.compare(0, 4, "\\\\?\\") == 0) canonical.erase(0, 4);
  std::replace(canonical.begin(), canonical.end(), '\\', '/');
  return canonical;
}

}  // namespace kavrel
