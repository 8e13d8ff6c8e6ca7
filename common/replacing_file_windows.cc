#include "common/replacing_file.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>

namespace common {

int CreateFileBeside(std::string *pattern) {
  std::string base = *pattern;
  // _mktemp_s offers 26 names per pattern; another process may take the
  // one it chose before it is opened, so try again a few times.
  for (int attempt = 0; attempt < 26; ++attempt) {
    *pattern = base;
    if (_mktemp_s(pattern->data(), pattern->size() + 1) != 0) return -1;
    int fd = _open(pattern->c_str(), _O_CREAT | _O_EXCL | _O_RDWR | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool FlushToDisk(int fd) { return _commit(fd) == 0; }

bool MoveOverTarget(const std::string &from, const std::string &to) {
  // rename() of the C library refuses to replace an existing file here.
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
  return false;
}

}  // namespace common
