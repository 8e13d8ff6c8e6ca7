// Rewrites the preferences file whole from the options as they stand, one
// line per row of the option table.
#include "host/kv_toolkit.h"
#include "options/option_table.h"
#include "options/preferences_file.h"
#include "plugin/plugin.h"

namespace {

void WriteValue(FILE *file, const OptionRow &row, ImportOptions &options) {
  switch (row.format) {
    case OptionFormat::kInt16:
    case OptionFormat::kIndex16:
      std::fprintf(file, "%s = %d\n", row.key, row.short_value.In(options));
      break;
    case OptionFormat::kInt32:
      std::fprintf(file, "%s = %ld\n", row.key, static_cast<long>(row.long_value.In(options)));
      break;
    case OptionFormat::kFloatG:
      std::fprintf(file, "%s = %g\n", row.key, static_cast<double>(row.float_value.In(options)));
      break;
    case OptionFormat::kFloatF:
      std::fprintf(file, "%s = %f\n", row.key, static_cast<double>(row.float_value.In(options)));
      break;
    case OptionFormat::kDirectory: {
      const char *directory = row.directory.In(options);
      std::fprintf(file, "%s = %s\n", row.key, directory ? directory : "\"\"");
      break;
    }
  }
}

}  // namespace

int16_t SaveImportConvertOptions_Inventor(const char *path) {
  char converted[KV_MAX_PATH];
  const char *shown = path ? path : "";
  FILE *file = nullptr;
  if (CopyPreferencesPath(path, converted)) {
    Kv_Convert_Pathname(converted);
    shown = converted;
    file = std::fopen(converted, "w");
  }
  if (!file) {
    Kv_Report_Error(4, "OUTERR_FILE_OPEN_WRITE", "SaveImportConvertOptions_Inventor()", "Inventor .INI", shown);
    return 1;
  }
  if (!plugin.state) SetDefaultOptions_Inventor();
  std::fputs("# Default options for the Inventor geometry import converter.\n", file);
  std::fputs("# !! Do not modify this file. It is written by the converter.\n", file);
  std::fputs("[Preferences]\n", file);
  for (const OptionRow &row : option_table) WriteValue(file, row, plugin.state->options);
  std::fflush(file);
  std::fclose(file);
  return 0;
}
