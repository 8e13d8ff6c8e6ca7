// The file system as assimp's exporters see it: every file they open for
// writing goes to a staged temporary file (see StagedFiles), so that an
// export of several files is renamed into place all at once, or not at all.
#ifndef KAVREL_EXPORT_ASSIMP_IO_H
#define KAVREL_EXPORT_ASSIMP_IO_H

#include <assimp/IOSystem.hpp>

#include "kavrel/export/staged_files.h"

namespace kavrel {

class StagingIOSystem : public Assimp::IOSystem {
 public:
  explicit StagingIOSystem(StagedFiles &files) : files_(files) {}

  bool Exists(const char *path) const override;
  char getOsSeparator() const override { return '/'; }
  // Writing modes only; an exporter has nothing to read.
  Assimp::IOStream *Open(const char *path, const char *mode) override;
  void Close(Assimp::IOStream *stream) override;

 private:
  StagedFiles &files_;
};

}  // namespace kavrel

#endif
