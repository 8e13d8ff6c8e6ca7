// The files of one export that writes several (an OBJ with its material
// library and texture copies): each is written under a temporary name
// beside its target, and only once all of them are complete are they
// renamed into place. A failure, or an export abandoned before Commit,
// leaves none of them and no temporary file.
#ifndef KAVREL_EXPORT_STAGED_FILES_H
#define KAVREL_EXPORT_STAGED_FILES_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "kavrel/export/text_output.h"

namespace kavrel {

class Host;

class StagedFiles {
 public:
  // Texture copies read under the host's texture roots; its stop request
  // abandons the files before they are renamed.
  explicit StagedFiles(const Host &host) : host_(host) {}
  StagedFiles(const StagedFiles &) = delete;
  StagedFiles &operator=(const StagedFiles &) = delete;
  ~StagedFiles() { Discard(); }

  // A temporary file beside target, made and listed for clean-up; its
  // path, or "" after recording the failure (see Failed).
  std::string Stage(const std::string &target);
  // Stage, opened for writing; null after recording the failure.
  FILE *Open(const std::string &target);
  // Flushes the file to disk and closes it; a failure is recorded.
  void Close(FILE *file, const std::string &target);
  // Stages a copy of the file at source.
  void Copy(const std::string &source, const std::string &target);
  // A failure of a writer that reports none of its own.
  void Fail(const std::string &message);

  bool Failed() const { return !error_.empty(); }
  const std::string &error() const { return error_; }
  // The bytes of every staged file.
  uint64_t Bytes() const;

  // Renames every staged file onto its target; false with error() when
  // something failed before (then nothing is renamed) or a rename fails.
  bool Commit();
  // Deletes every staged file not yet renamed.
  void Discard();

 private:
  struct File {
    std::string target, temporary;
  };
  void Record(const std::string &target, int error_number);

  const Host &host_;
  std::vector<File> files_;
  std::string error_;                          // first failure, "" while none
};

// Stages target and writes it as text with write(TextOutput &); the staged
// file is closed (and a failure recorded) after the last block.
template <typename Write>
void WriteStagedText(StagedFiles &files, const std::string &target, Write write) {
  FILE *file = files.Open(target);
  if (file == nullptr) return;
  {
    TextOutput out(file);
    write(out);
  }
  files.Close(file, target);
}

}  // namespace kavrel

#endif
