// Rewrites the preferences file whole from the options as they stand, one
// line per row of the option table. The lines go to a temporary file in the
// same directory that is then renamed over the old file: a conversion that
// reads the file meanwhile sees the old or the new one, never half of it,
// and two saves at once never mix their lines.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "common/replacing_file.h"
#include "host/kv_toolkit.h"
#include "options/option_table.h"
#include "options/options.h"
#include "options/preferences_file.h"
#include "state/state.h"

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

// A new file beside target, open for writing; null when none can be made.
FILE *OpenBeside(const char *target, std::string &temporary) {
  temporary = std::string(target) + ".XXXXXX";
  const int fd = common::CreateFileBeside(&temporary);
  if (fd < 0) return nullptr;
  FILE *file = fdopen(fd, "w");
  if (!file) {
    close(fd);
    std::remove(temporary.c_str());
  }
  return file;
}

void WriteLines(FILE *file) {
  if (!plugin.state) SetDefaultOptions_Inventor();
  std::fputs("# Default options for the Inventor geometry import converter.\n", file);
  std::fputs("# !! Do not modify this file. It is written by the converter.\n", file);
  std::fputs("[Preferences]\n", file);
  for (const OptionRow &row : option_table) WriteValue(file, row, plugin.state->options);
}

// Closes the file and moves it over target; false, with the temporary
// file gone, when any write, the close or the rename failed.
bool FinishFile(FILE *file, const std::string &temporary, const char *target) {
  bool written = std::fflush(file) == 0 && !std::ferror(file) && common::FlushToDisk(fileno(file));
  written = std::fclose(file) == 0 && written;
  if (written && common::MoveOverTarget(temporary, target)) return true;
  std::remove(temporary.c_str());
  return false;
}

}  // namespace

int16_t SaveImportConvertOptions_Inventor(const char *path) {
  char converted[KV_MAX_PATH];
  const char *shown = path ? path : "";
  FILE *file = nullptr;
  std::string temporary;
  if (CopyPreferencesPath(path, converted)) {
    Kv_Convert_Pathname(converted);
    shown = converted;
    file = OpenBeside(converted, temporary);
  }
  if (file) {
    WriteLines(file);
    if (FinishFile(file, temporary, converted)) return 0;
  }
  Kv_Report_Error(4, "OUTERR_FILE_OPEN_WRITE", "SaveImportConvertOptions_Inventor()", "Inventor .INI", shown);
  return 1;
}
