#include "kavrel/export/assimp_io.h"

#include <unistd.h>

#include <cstring>
#include <string>

#include <assimp/IOStream.hpp>

namespace kavrel {
namespace {

// A staged file open for writing, closed (flushed to disk, failures
// recorded) when the exporter deletes it: most delete their streams
// without calling Close. Exporters ignore what Write answers, so a short
// write is noticed then, through the stream's error state.
class StagedStream : public Assimp::IOStream {
 public:
  StagedStream(StagedFiles &files, FILE *file, std::string target)
      : files_(files), file_(file), target_(std::move(target)) {}
  ~StagedStream() override { files_.Close(file_, target_); }

  size_t Read(void *, size_t, size_t) override { return 0; }
  size_t Write(const void *buffer, size_t size, size_t count) override {
    return std::fwrite(buffer, size, count, file_);
  }
  aiReturn Seek(size_t offset, aiOrigin origin) override {
    const int whence = origin == aiOrigin_SET ? SEEK_SET : origin == aiOrigin_CUR ? SEEK_CUR : SEEK_END;
    return fseeko(file_, static_cast<off_t>(offset), whence) == 0 ? aiReturn_SUCCESS : aiReturn_FAILURE;
  }
  size_t Tell() const override { return static_cast<size_t>(ftello(file_)); }
  size_t FileSize() const override {
    const off_t here = ftello(file_);
    fseeko(file_, 0, SEEK_END);
    const off_t size = ftello(file_);
    fseeko(file_, here, SEEK_SET);
    return static_cast<size_t>(size);
  }
  void Flush() override { std::fflush(file_); }


 private:
  StagedFiles &files_;
  FILE *file_;
  std::string target_;
};

}  // namespace

bool StagingIOSystem::Exists(const char *path) const { return access(path, F_OK) == 0; }

Assimp::IOStream *StagingIOSystem::Open(const char *path, const char *mode) {
  if (std::strchr(mode, 'w') == nullptr) return nullptr;
  FILE *file = files_.Open(path);
  return file == nullptr ? nullptr : new StagedStream(files_, file, path);
}

void StagingIOSystem::Close(Assimp::IOStream *stream) { delete stream; }

}  // namespace kavrel
