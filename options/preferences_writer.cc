// Rewrites "vorlix.ini" whole from the options as they stand.
#include "host/kv_toolkit.h"
#include "options/preference_keys.h"
#include "plugin/callbacks.h"
#include "plugin/plugin_module.h"

namespace {

void WriteValue(FILE *file, const PrefKey &row, void *value) {
  switch (row.format) {
    case PrefFormat::kInt16:
    case PrefFormat::kIndex16:
      std::fprintf(file, "%s = %d\n", row.key, *static_cast<int16_t *>(value));
      break;
    case PrefFormat::kInt32:
      std::fprintf(file, "%s = %ld\n", row.key, static_cast<long>(*static_cast<int32_t *>(value)));
      break;
    case PrefFormat::kFloatG:
      std::fprintf(file, "%s = %g\n", row.key, static_cast<double>(*static_cast<float *>(value)));
      break;
    case PrefFormat::kFloatF:
      std::fprintf(file, "%s = %f\n", row.key, static_cast<double>(*static_cast<float *>(value)));
      break;
    case PrefFormat::kDirectory: {
      const char *directory = *static_cast<char **>(value);
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
  if (!state) SetDefaultOptions_Inventor();
  std::fputs("# Default options for the Inventor geometry import converter.\n", file);
  std::fputs("# !! Do not modify this file. It is written by the converter.\n", file);
  std::fputs("[Preferences]\n", file);
  for (const PrefKey &row : kPreferenceKeys) WriteValue(file, row, PreferenceValue(row, state->options));
  std::fflush(file);
  std::fclose(file);
  return 0;
}
