// What the import support library's calls share: reporting through the
// run's hook, the current polygon buffer and naming, all on the state the
// Host keeps for the library (kavrel/toolkit/import_state.h). The C entry
// points (Import_IO_*) journal themselves and call these.
#ifndef KAVREL_IMPORT_IO_IMPORT_SUPPORT_H
#define KAVREL_IMPORT_IO_IMPORT_SUPPORT_H

#include <string>

#include "kavrel/host.h"
#include "kavrel/toolkit/import_state.h"

namespace kavrel {
namespace import_io {

// Sends text to the host's error report at level; at level 5 the run's hook
// then receives the error record. The hook may leave by an exception, so
// callers hold nothing that needs releasing when they call this.
void ReportError(Host &host, int level, const std::string &text);

// Frees the current buffer, its arrays and its surface-name strings.
void FreeCurrentBuffer(Host &host);

// Points the record's array fields at the storage's vectors (null for
// empty ones).
void PointRecordAtArrays(PolygonStorage &storage);

// A name of that kind ("instance", "object", "surface", "texture",
// "light", "camera") that no entity of the kind in the host's scene
// database has and that was never handed out before in this run: base,
// then "base #2", ... Long bases are shortened so that the name fits 511
// bytes.
std::string MakeUniqueName(Host &host, const std::string &kind, const std::string &base);

// Writes name into a 512-byte buffer, always NUL-terminated.
void CopyName(const std::string &name, char *buffer);

}  // namespace import_io
}  // namespace kavrel

#endif
