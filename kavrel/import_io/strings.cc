// Strings handed between the plug-in and the host: heap copies released
// with Kv_Free_Memory (free), and white space trimmed in place.
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "host/import_io.h"
#include "kavrel/toolkit/call_recorder.h"

using kavrel::CallRecorder;

extern "C" char *Import_IO_Copy_String(char **field, const char *text) {
  CallRecorder call(kavrel::CurrentHost(), "Import_IO_Copy_String", kavrel::CallEffect::kLeavesMeshes);
  char *copy = nullptr;
  if (text) {
    call.text(text, "text");
    const size_t size = std::strlen(text) + 1;
    copy = static_cast<char *>(std::malloc(size));
    if (copy) std::memcpy(copy, text, size);
    else call.fail("out of memory");
  }
  if (field) *field = copy;
  return copy;
}

extern "C" int16_t Import_IO_Strip_Whitespace(char *text) {
  CallRecorder call(kavrel::CurrentHost(), "Import_IO_Strip_Whitespace", kavrel::CallEffect::kLeavesMeshes);
  if (!call.text(text, "text")) return 0;
  auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  size_t begin = 0, end = std::strlen(text);
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  std::memmove(text, text + begin, end - begin);
  text[end - begin] = '\0';
  return end > begin ? 1 : 0;
}
