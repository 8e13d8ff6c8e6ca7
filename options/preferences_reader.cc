// Reads the preferences file over the option defaults. Every key found overrides its
// value; the first line that is not a key and a value ends the reading.
#include <cfloat>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "host/import_io.h"
#include "host/kv_toolkit.h"
#include "options/option_table.h"
#include "options/options.h"
#include "options/preferences_file.h"
#include "options/preferences_platform.h"
#include "state/state.h"

namespace {

constexpr int kLineSize = 2048;  // longer lines arrive in pieces, each taken as a line

// Keeps the low 16 bits, as assigning to a 16-bit field does.
int16_t Low16(long value) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<unsigned long>(value))); }
int32_t Low32(long value) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<unsigned long>(value))); }

// atoi without its undefined behaviour on overflow: strtol saturates instead.
long ReadInteger(const char *text) { return std::strtol(text, nullptr, 10); }

// atof in the "C" locale, rounded to single precision; values beyond
// float's range saturate.
float ReadFloat(const char *text) {
  double value = ReadNumberInCLocale(text);
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}

// atof in the "C" locale truncated toward zero, saturated to long first.
long ReadTruncated(const char *text) {
  double value = ReadNumberInCLocale(text);
  if (!(value == value)) return 0;  // NaN
  if (value >= static_cast<double>(LONG_MAX)) return LONG_MAX;
  if (value <= static_cast<double>(LONG_MIN)) return LONG_MIN;
  return static_cast<long>(value);
}

// The writer's two quotes stand for "no directory"; reading them back as
// such keeps a save and load round trip from inventing a directory named "".
bool MeansNoDirectory(const char *value) { return *value == '\0' || std::strcmp(value, "\"\"") == 0; }

void StoreDirectory(char **field, const char *value) {
  if (*field) Kv_Free_Memory(*field);
  *field = nullptr;
  if (!MeansNoDirectory(value)) Import_IO_Copy_String(field, value);
}

void StoreValue(const OptionRow &row, const char *value, ImportOptions &options) {
  switch (row.format) {
    case OptionFormat::kInt16: row.short_value.In(options) = Low16(ReadInteger(value)); break;
    case OptionFormat::kIndex16: row.short_value.In(options) = Low16(ReadTruncated(value)); break;
    case OptionFormat::kInt32: row.long_value.In(options) = Low32(ReadInteger(value)); break;
    case OptionFormat::kFloatG:
    case OptionFormat::kFloatF: row.float_value.In(options) = ReadFloat(value); break;
    case OptionFormat::kDirectory: StoreDirectory(&row.directory.In(options), value); break;
  }
}

bool IsSkippedLine(char *line) {
  return !Import_IO_Strip_Whitespace(line) || line[0] == '#' || line[0] == '[' || std::strlen(line) < 2;
}

// Splits a stripped line as strtok(line, "=") then strtok(NULL, "\n\r")
// would: key up to the first "=" after any leading ones, value the rest up
// to a line end. False when either is missing.
bool SplitPair(char *line, char **key, char **value) {
  char *k = line + std::strspn(line, "=");
  if (*k == '\0') return false;
  char *equals = std::strchr(k, '=');
  if (!equals) return false;
  *equals = '\0';
  char *v = equals + 1;
  v += std::strspn(v, "\n\r");
  size_t length = std::strcspn(v, "\n\r");
  if (length == 0) return false;
  v[length] = '\0';
  *key = k;
  *value = v;
  return true;
}

bool FitsBuffer(const char *text) { return std::strlen(text) < kOptionTextSize; }

}  // namespace

int ReadOptionLine(FILE *file, char *key, char *value) {
  key[0] = value[0] = '\0';
  if (std::feof(file)) return 0;
  char line[kLineSize];
  for (;;) {
    if (std::ferror(file) || !std::fgets(line, sizeof line, file)) return 0;
    if (!IsSkippedLine(line)) {
      char *k = nullptr, *v = nullptr;
      if (!SplitPair(line, &k, &v)) return 0;
      Import_IO_Strip_Whitespace(k);
      Import_IO_Strip_Whitespace(v);
      if (FitsBuffer(k) && FitsBuffer(v)) {
        std::strcpy(key, k);
        std::strcpy(value, v);
        return key[0] != '\0' && value[0] != '\0';
      }
    }
    if (std::feof(file)) return 0;
  }
}

int16_t LoadImportConvertOptions_Inventor(const char *path) {
  char converted[KV_MAX_PATH];
  if (!CopyPreferencesPath(path, converted)) return 1;
  Kv_Convert_Pathname(converted);
  FILE *file = std::fopen(converted, "r");
  if (!file) return 1;
  if (!plugin.state) SetDefaultOptions_Inventor();
  char key[kOptionTextSize], value[kOptionTextSize];
  while (ReadOptionLine(file, key, value)) {
    if (const OptionRow *row = FindOption(key)) StoreValue(*row, value, plugin.state->options);
    if (std::feof(file)) break;
  }
  std::fclose(file);
  return 0;
}
