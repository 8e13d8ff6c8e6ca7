// Rewrites the preferences file whole from the options as they stand, one
// line per row of the option table. Where the folder allows it, the lines
// go to a temporary file in the same directory that is then renamed over
// the old file: a conversion that reads the file meanwhile sees the old or
// the new one, never half of it, and two saves at once never mix their
// lines. The outcome is still that of opening the file for writing: a file
// that refuses to be opened for writing stays as it is and is reported,
// and where no file can be made beside it or the rename is refused (a
// read-only folder), the file is rewritten in place.
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <string>

#include "common/replacing_file.h"
#include "host/kv_toolkit.h"
#include "options/option_table.h"
#include "options/options.h"
#include "options/preferences_file.h"
#include "options/preferences_platform.h"
#include "state/state.h"

namespace {

// Numbers as printf writes them in the "C" locale, whatever the process
// locale: "%d"/"%ld" for integers, "%g" (six significant digits) and "%f"
// (six decimals) for floats.
void AppendFloat(std::string &text, float value, std::chars_format format) {
  char digits[64];  // "%f" of the largest float takes 46
  text.append(digits, std::to_chars(digits, digits + sizeof digits, static_cast<double>(value), format, 6).ptr);
}

void AppendInteger(std::string &text, long value) {
  char digits[24];
  text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void AppendValue(std::string &text, const OptionRow &row, ImportOptions &options) {
  switch (row.format) {
    case OptionFormat::kInt16:
    case OptionFormat::kIndex16: AppendInteger(text, row.short_value.In(options)); break;
    case OptionFormat::kInt32: AppendInteger(text, row.long_value.In(options)); break;
    case OptionFormat::kFloatG: AppendFloat(text, row.float_value.In(options), std::chars_format::general); break;
    case OptionFormat::kFloatF: AppendFloat(text, row.float_value.In(options), std::chars_format::fixed); break;
    case OptionFormat::kDirectory: {
      const char *directory = row.directory.In(options);
      text += directory ? directory : "\"\"";
      break;
    }
  }
}

std::string PreferencesText() {
  if (!plugin.state) SetDefaultOptions_Inventor();
  std::string text;
  for (const char *header : {"# Default options for the Inventor geometry import converter.",
                             "# !! Do not modify this file. It is written by the converter.", "[Preferences]"}) {
    text.append(header).append(kPreferencesLineEnd);
  }
  for (const OptionRow &row : option_table) {
    text.append(row.key).append(" = ");
    AppendValue(text, row, plugin.state->options);
    text.append(kPreferencesLineEnd);
  }
  return text;
}

// Writes text and closes the file; false when any write or the close failed.
bool WriteAndClose(FILE *file, const std::string &text, bool to_disk) {
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0 &&
                 !std::ferror(file) && (!to_disk || common::FlushToDisk(fileno(file)));
  return std::fclose(file) == 0 && written;
}

// A new file beside target, open for writing; null when none can be made.
FILE *OpenBeside(const char *target, std::string &temporary) {
  temporary = std::string(target) + ".XXXXXX";
  const int fd = common::CreateFileBeside(&temporary);
  if (fd < 0) return nullptr;
  FILE *file = fdopen(fd, "wb");
  if (!file) {
    close(fd);
    std::remove(temporary.c_str());
  }
  return file;
}

enum class Outcome { kWritten, kFailed, kNotReplaced };

// Writes a file beside target and renames it over target. kNotReplaced,
// with the temporary file gone, when the folder takes no new file or
// refuses the rename; kFailed when a write failed (target untouched).
Outcome ReplaceWhole(const char *target, const std::string &text) {
  std::string temporary;
  FILE *file = OpenBeside(target, temporary);
  if (!file) return Outcome::kNotReplaced;
  Outcome outcome = Outcome::kFailed;
  if (WriteAndClose(file, text, true)) {
    outcome = common::MoveOverTarget(temporary, target) ? Outcome::kWritten : Outcome::kNotReplaced;
  }
  if (outcome != Outcome::kWritten) std::remove(temporary.c_str());
  return outcome;
}

// What an open for writing with truncation does: the file keeps its place,
// its owner and its permissions; a write that fails leaves it cut short.
bool RewriteInPlace(const char *target, const std::string &text) {
  FILE *file = std::fopen(target, "wb");
  return file && WriteAndClose(file, text, false);
}

bool WritePreferencesFile(const char *target) {
  if (RefusesOpenForWriting(target)) return false;
  const std::string text = PreferencesText();
  switch (ReplaceWhole(target, text)) {
    case Outcome::kWritten: return true;
    case Outcome::kFailed: return false;
    case Outcome::kNotReplaced: return RewriteInPlace(target, text);
  }
  return false;
}

}  // namespace

int16_t SaveImportConvertOptions_Inventor(const char *path) {
  char converted[KV_MAX_PATH];
  const char *shown = path ? path : "";
  if (CopyPreferencesPath(path, converted)) {
    Kv_Convert_Pathname(converted);
    shown = converted;
    if (WritePreferencesFile(converted)) return 0;
  }
  Kv_Report_Error(4, "OUTERR_FILE_OPEN_WRITE", "SaveImportConvertOptions_Inventor()", "Inventor .INI", shown);
  return 1;
}
