#include "kavrel/export/staged_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/replacing_file.h"
#include "kavrel/host.h"
#include "kavrel/image/image_file.h"
#include "kavrel/image/run_files.h"

namespace kavrel {

void StagedFiles::Record(const std::string &target, int error_number) {
  if (error_.empty()) error_ = "cannot write '" + target + "': " + std::strerror(error_number);
}

void StagedFiles::Fail(const std::string &message) {
  if (error_.empty()) error_ = message;
}

std::string StagedFiles::Stage(const std::string &target) {
  std::string temp = target + ".tmp-XXXXXX";
  const int fd = common::CreateFileBeside(&temp);
  if (fd < 0) {
    Record(target, errno);
    return "";
  }
  close(fd);
  NoteTemporaryFile(temp);
  files_.push_back({target, temp});
  return temp;
}

FILE *StagedFiles::Open(const std::string &target) {
  const std::string temp = Stage(target);
  if (temp.empty()) return nullptr;
  FILE *file = std::fopen(temp.c_str(), "wb");
  if (file == nullptr) Record(target, errno);
  return file;
}

void StagedFiles::Close(FILE *file, const std::string &target) {
  // fsync before the rename: a full disk or an I/O error shows up here,
  // not after the target has been replaced.
  bool ok = std::fflush(file) == 0 && !std::ferror(file) && common::FlushToDisk(fileno(file));
  int saved = errno;
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    saved = errno;
  }
  if (!ok) Record(target, saved);
}

void StagedFiles::Copy(const std::string &source, const std::string &target) {
  std::string reason;
  FILE *in = nullptr;
  if (!host_.texture_files().Readable(source, &reason) || (in = std::fopen(source.c_str(), "rb")) == nullptr) {
    Fail("cannot copy the texture '" + source + "' to '" + target +
         "': " + (reason.empty() ? std::strerror(errno) : reason));
    return;
  }
  FILE *out = Open(target);
  if (out != nullptr) {
    char block[1 << 16];
    size_t n;
    while ((n = std::fread(block, 1, sizeof block, in)) > 0) {
      if (std::fwrite(block, 1, n, out) != n) break;
    }
    if (std::ferror(in)) Fail("cannot copy the texture '" + source + "': " + std::strerror(errno));
    Close(out, target);
  }
  std::fclose(in);
}

uint64_t StagedFiles::Bytes() const {
  uint64_t bytes = 0;
  for (const File &file : files_) {
    struct stat info;
    if (stat(file.temporary.c_str(), &info) == 0) bytes += static_cast<uint64_t>(info.st_size);
  }
  return bytes;
}

bool StagedFiles::Commit() {
  // The one moment that decides: after it a Ctrl-C no longer undoes the
  // export, before it the temporary files go and the targets stay.
  if (error_.empty() && host_.AbortRequested()) Record(files_.empty() ? "" : files_.front().target, EINTR);
  if (!error_.empty()) {
    Discard();
    return false;
  }
  // A rename onto a directory is the one failure left that can be foreseen.
  for (const File &file : files_) {
    struct stat info;
    if (stat(file.target.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) Record(file.target, EISDIR);
  }
  if (!error_.empty()) {
    Discard();
    return false;
  }
  // The first file staged, the one the user named, goes last: a rename that
  // fails all the same leaves no output under that name.
  for (size_t step = 1; step <= files_.size(); ++step) {
    const File &file = files_[step % files_.size()];
    if (!MoveTemporaryIntoPlace(file.temporary, file.target, false)) {
      Record(file.target, errno);
      Discard();  // the temporary names of the files moved already are gone
      return false;
    }
  }
  files_.clear();
  return true;
}

void StagedFiles::Discard() {
  for (const File &file : files_) {
    std::remove(file.temporary.c_str());
    ForgetTemporaryFile(file.temporary);
  }
  files_.clear();
}

}  // namespace kavrel
