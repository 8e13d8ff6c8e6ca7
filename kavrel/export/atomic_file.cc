#include "kavrel/export/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

#include "common/replacing_file.h"
#include "kavrel/image/run_files.h"

namespace kavrel {
namespace {

bool WriteAll(int fd, const uint8_t *bytes, size_t size) {
  size_t done = 0;
  while (done < size) {
    ssize_t n = write(fd, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = ENOSPC;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Stops between blocks when the user asked to stop.
bool WriteSpans(int fd, const ByteSpans &spans, const std::function<bool()> &stop_requested) {
  for (const auto &[data, size] : spans) {
    if (stop_requested()) {
      errno = EINTR;
      return false;
    }
    if (!WriteAll(fd, static_cast<const uint8_t *>(data), size)) return false;
  }
  return true;
}

}  // namespace

bool WriteFileAtomically(const std::string &path, const ByteSpans &spans,
                         const std::function<bool()> &stop_requested, std::string *error) {
  std::string temp = path + ".tmp-XXXXXX";
  int fd = common::CreateFileBeside(&temp);
  if (fd < 0) {
    *error = "cannot write '" + path + "': " + std::strerror(errno);
    return false;
  }
  // Listed, so that a signal that ends the process deletes it too.
  NoteTemporaryFile(temp);
  // Flushed before the rename: a full disk or an I/O error shows up here, not
  // after the target has been replaced.
  int saved = 0;
  bool ok = WriteSpans(fd, spans, stop_requested) && common::FlushToDisk(fd);
  if (!ok) saved = errno;
  if (close(fd) != 0 && ok) {
    ok = false;
    saved = errno;
  }
  // The one moment that decides: after it a Ctrl-C no longer undoes the
  // export, before it the temporary file goes and the target stays as it was.
  if (ok && stop_requested()) {
    ok = false;
    saved = EINTR;
  } else if (ok && !MoveTemporaryIntoPlace(temp, path, false)) {
    ok = false;
    saved = errno;
  }
  if (!ok) {
    std::remove(temp.c_str());
    ForgetTemporaryFile(temp);
    *error = "cannot write '" + path + "': " + std::strerror(saved);
  }
  return ok;
}

}  // namespace kavrel
