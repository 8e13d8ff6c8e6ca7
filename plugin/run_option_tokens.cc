// The run-time option tokens: the rows of the option table marked as tokens.
#include "plugin/run_option_tokens.h"

#include <cstdlib>

#include "host/import_io.h"
#include "host/kv_toolkit.h"
#include "options/option_table.h"

namespace {

// atoi's reading (blanks, sign, digits, 0 without any) without its
// undefined result on overflow; a null value reads as 0.
int32_t DecimalValue(const char *value) {
  if (!value) return 0;
  return static_cast<int32_t>(std::strtoll(value, nullptr, 10));
}

// The old string is released first; an empty value leaves the field null.
void ReplaceString(char *&field, const char *value) {
  if (field) Kv_Free_Memory(field);
  field = nullptr;
  if (value && value[0]) Import_IO_Copy_String(&field, value);
}

}  // namespace

bool ApplyRunOptionToken(ImportOptions &options, const char *token, const char *value) {
  const OptionRow *row = FindRunToken(token);
  if (!row) return false;
  switch (row->format) {
    case OptionFormat::kInt16:
    case OptionFormat::kIndex16: row->short_value.In(options) = static_cast<int16_t>(DecimalValue(value)); break;
    case OptionFormat::kInt32: row->long_value.In(options) = DecimalValue(value); break;
    case OptionFormat::kFloatG:
    case OptionFormat::kFloatF: row->float_value.In(options) = value ? std::strtof(value, nullptr) : 0.0f; break;
    case OptionFormat::kDirectory: ReplaceString(row->directory.In(options), value); break;
  }
  return true;
}
