// The preferences file "vorlix.ini" in the support directory: its path, its
// writer and its reader's line splitter. The file is read by
// LoadImportConvertOptions_Inventor (options/options.h) and written whole by
// SaveImportConvertOptions_Inventor, both over the rows of the option table.
#ifndef OPTIONS_PREFERENCES_FILE_H
#define OPTIONS_PREFERENCES_FILE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "host/kv_toolkit.h"

// Copies a caller's path into a buffer that Kv_Convert_Pathname may rewrite;
// false for a null path or one too long for the buffer.
bool CopyPreferencesPath(const char *path, char (&buffer)[KV_MAX_PATH]);

// Writes every option to the preferences file at path; 0 written, 1 not.
int16_t SaveImportConvertOptions_Inventor(const char *path);

// Keys and values longer than this are not stored (see ReadOptionLine).
constexpr size_t kOptionTextSize = 128;

// Delivers the next key and value of the file into buffers of
// kOptionTextSize bytes, skipping comment ("#"), section ("[") and blank
// lines and lines shorter than two characters. Answers nonzero for a pair,
// 0 when reading must stop: at the end, on a read error, or at the first
// line that is not "key = value". Lines longer than 2047 characters arrive
// in pieces, each taken as a line. A line whose key or value is longer than
// kOptionTextSize - 1 characters is skipped whole (reading goes on), so that
// no truncated directory is ever taken for a real one.
int ReadOptionLine(FILE *file, char *key, char *value);

#endif
