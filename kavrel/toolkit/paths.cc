// Path calls. Inventor files written on Windows name textures with
// backslashes, so both separators count everywhere here
// (common/file_name_start.h).
#include <cstring>
#include <string>

#include "common/file_name_start.h"
#include "host/kv_toolkit.h"
#include "kavrel/toolkit/call_recorder.h"

namespace {

// The separator of the platform's own path form, and the other one.
#ifdef _WIN32
constexpr char kSeparator = '\\', kForeignSeparator = '/';
#else
constexpr char kSeparator = '/', kForeignSeparator = '\\';
#endif

// Copies count bytes of text into a KV_MAX_PATH buffer, cut to fit.
char *CopyInto(char *buffer, const char *text, size_t count) {
  if (count > KV_MAX_PATH - 1) count = KV_MAX_PATH - 1;
  std::memmove(buffer, text, count);
  buffer[count] = '\0';
  return buffer;
}

}  // namespace

extern "C" void Kv_Convert_Pathname(char *path) {
  kavrel::CallRecorder call(kavrel::CurrentHost(), "Kv_Convert_Pathname");
  if (!call.text(path, "path")) return;
  for (char *at = path; *at; ++at) {
    if (*at == kForeignSeparator) *at = kSeparator;
  }
}

extern "C" char *Kv_ExtractBaseFileName(const char *path, char *buffer, int flags) {
  kavrel::CallRecorder call(kavrel::CurrentHost(), "Kv_ExtractBaseFileName");
  bool usable = call.text(path, "path");
  call.integers({flags});
  usable = call.pointer(buffer, "buffer") && usable;
  if (!usable) return buffer ? CopyInto(buffer, "", 0) : buffer;
  const char *name = path + common::FileNameStart(path);
  return CopyInto(buffer, name, std::strlen(name));
}

extern "C" char *Kv_ExtractBaseFilePath(const char *path, char *buffer) {
  kavrel::CallRecorder call(kavrel::CurrentHost(), "Kv_ExtractBaseFilePath");
  bool usable = call.text(path, "path");
  usable = call.pointer(buffer, "buffer") && usable;
  if (!usable) return buffer ? CopyInto(buffer, "", 0) : buffer;
  return CopyInto(buffer, path, common::FileNameStart(path));
}
