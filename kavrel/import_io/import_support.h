// What the import support library's calls share: the run frame, the current
// polygon buffer, reporting and naming. The C entry points (Import_IO_*)
// journal themselves and call these.
#ifndef KAVREL_IMPORT_IO_IMPORT_SUPPORT_H
#define KAVREL_IMPORT_IO_IMPORT_SUPPORT_H

#include <string>

#include "host/host_records.h"

namespace kavrel {

// Back to the state before any run: no hook, no buffer, no names handed
// out, the root name "world". ResetHost leaves this library alone, so tests
// that start a new host call both.
void ResetImportSupport();

namespace import_io {

// The run set up by Import_IO_Initialize.
struct RunFrame {
  Import_IO_ErrorHook hook = nullptr;          // the plug-in's error hook, null outside a run
  std::string root_name = "world";             // the import's root instance
};
RunFrame &run_frame();

// Sends text to the host's error report at level; at level 5 the run's hook
// then receives the error record. The hook may leave by an exception, so
// callers hold nothing that needs releasing when they call this.
void ReportError(int level, const std::string &text);

// The buffer of the last Import_IO_Alloc_Indexedpolygons, null when none.
IndexedPolygons *current_buffer();
// Frees the current buffer, its arrays and its surface-name strings.
void FreeCurrentBuffer();

// A name of that kind ("instance", "object", "surface", "texture",
// "light", "camera") that no entity of the kind in the scene database
// has and that was never handed out before: base, then "base #2", ...
// Long bases are shortened so that the name fits 511 bytes.
std::string MakeUniqueName(const std::string &kind, const std::string &base);
void ForgetNames();

// Writes name into a 512-byte buffer, always NUL-terminated.
void CopyName(const std::string &name, char *buffer);

}  // namespace import_io
}  // namespace kavrel

#endif
