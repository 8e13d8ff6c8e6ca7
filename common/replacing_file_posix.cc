#include "common/replacing_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace common {

int CreateFileBeside(std::string *pattern) {
  int fd = mkstemp(pattern->data());
  // mkstemp makes the file private; an output is an ordinary user file.
  if (fd >= 0) fchmod(fd, 0644);
  return fd;
}

bool FlushToDisk(int fd) { return fsync(fd) == 0; }

bool MoveOverTarget(const std::string &from, const std::string &to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace common
