// Path calls. Inventor files written on Windows name textures with
// backslashes, so both separators count everywhere here.
#include <cstring>
#include <string>

#include "host/kv_toolkit.h"
#include "kavrel/toolkit/call_recorder.h"

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Offset just past the last separator of path; 0 when it has none.
size_t FileNameStart(const char *path) {
  size_t start = 0;
  for (size_t i = 0; path[i]; ++i) {
    if (IsSeparator(path[i])) start = i + 1;
  }
  return start;
}

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
    if (*at == '\\') *at = '/';
  }
}

extern "C" char *Kv_ExtractBaseFileName(const char *path, char *buffer, int flags) {
  kavrel::CallRecorder call(kavrel::CurrentHost(), "Kv_ExtractBaseFileName");
  bool usable = call.text(path, "path");
  call.integers({flags});
  usable = call.pointer(buffer, "buffer") && usable;
  if (!usable) return buffer ? CopyInto(buffer, "", 0) : buffer;
  const char *name = path + FileNameStart(path);
  return CopyInto(buffer, name, std::strlen(name));
}

extern "C" char *Kv_ExtractBaseFilePath(const char *path, char *buffer) {
  kavrel::CallRecorder call(kavrel::CurrentHost(), "Kv_ExtractBaseFilePath");
  bool usable = call.text(path, "path");
  usable = call.pointer(buffer, "buffer") && usable;
  if (!usable) return buffer ? CopyInto(buffer, "", 0) : buffer;
  return CopyInto(buffer, path, FileNameStart(path));
}
