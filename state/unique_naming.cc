// Names unique per kind within a run: our own tables (quick naming) or the
// import support library's naming.
#include <cstdio>
#include <cstring>
#include <new>

#include <Inventor/SbDict.h>

#include "host/import_io.h"
#include "state/state.h"
#include "state/unique_naming.h"

namespace {

const size_t kCleanNameSize = 352;     // 351 characters and the NUL
const size_t kComposedNameSize = 320;  // 319 characters and the NUL
const size_t kLibraryNameSize = 512;

// Longer names are cut to fit; the cut keeps the start of the name.
void CopyTruncated(char *buffer, size_t size, const char *text) { std::snprintf(buffer, size, "%s", text); }

// "Cube #2" and "Cube#" lose their suffix; "Cube #2x" and "Part#A" keep it.
void CutNumericSuffix(char *name) {
  char *hash = std::strrchr(name, '#');
  if (!hash) return;
  for (const char *c = hash + 1; *c; ++c) {
    if (*c < '0' || *c > '9') return;
  }
  *hash = '\0';
}

void ReportNamingError() { Import_IO_Report_Error(1, "Warning: internal naming error."); }

void AddNameEntry(SbDict &dict, NameEntry *&list, const char *name, SbDict::Key key) {
  NameEntry *entry = new (std::nothrow) NameEntry{SbString(name), 1, list};
  if (!entry) {
    Import_IO_Report_Error(5, "Out of memory while naming instance.");
    return;
  }
  list = entry;
  if (!dict.enter(key, entry)) ReportNamingError();
}

// "<base> #<count>", the base shortened so that the number always fits.
void ComposeNumberedName(const SbString &base, int32_t count, SbString &result) {
  char suffix[16];
  const int suffix_length = std::snprintf(suffix, sizeof suffix, " #%d", count);
  const int room = static_cast<int>(kComposedNameSize) - 1 - suffix_length;
  char composed[kComposedNameSize];
  std::snprintf(composed, sizeof composed, "%.*s%s", room, base.getString(), suffix);
  result = composed;
}

void LibraryUniqueName(Kv_Token kind, const SbString &base, SbString &result) {
  char copy[kLibraryNameSize];
  char unique[kLibraryNameSize] = "";
  CopyTruncated(copy, sizeof copy, base.getString());
  Import_IO_MakeAndSaveUniqueName(kind, copy, unique);
  result = unique;
}

}  // namespace

void MakeUniqueName(Kv_Token kind, SbDict &dict, NameEntry *&list, const SbString &base, SbString &result) {
  if (plugin.state->options.quick_naming == 1) {
    QuickUniqueName(dict, list, base, result);
  } else {
    LibraryUniqueName(kind, base, result);
  }
}

void QuickUniqueName(SbDict &dict, NameEntry *&list, const SbString &base, SbString &result) {
  char clean[kCleanNameSize];
  CopyTruncated(clean, sizeof clean, base.getString());
  CutNumericSuffix(clean);
  if (Import_IO_Strip_Whitespace(clean) == 0) std::strcpy(clean, "a");
  // Keyed on the name itself: two different names never share a count.
  const SbDict::Key key = plugin.state->name_keys.Key(clean);
  void *found = nullptr;
  if (!list || !dict.find(key, found)) {
    AddNameEntry(dict, list, clean, key);
    result = clean;
    return;
  }
  NameEntry *entry = static_cast<NameEntry *>(found);
  ++entry->count;
  ComposeNumberedName(entry->name, entry->count, result);
}

void FreeNameEntries(NameEntry *&list) {
  while (list) {
    NameEntry *next = list->next;
    list->name.makeEmpty();
    delete list;
    list = next;
  }
}
