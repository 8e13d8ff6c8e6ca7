// One conversion: run-time options, the input file, the guarded run with its
// abort point, the error hook and the abort poll.
#include <sys/types.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>

#include "host/import_io.h"
#include "host/kv_toolkit.h"
#include "materials/materials.h"
#include "options/options.h"
#include "plugin/plugin.h"
#include "plugin/run_option_tokens.h"
#include "scene/scene.h"

namespace {

const char kFunction[] = "ImportConverter_Inventor()";

// Makes sure a state exists; a new one starts from zeroed options and the
// defaults. False when none could be made.
bool EnsureState() {
  if (plugin.state) return true;
  plugin.state = new (std::nothrow) InventorState();
  if (!plugin.state) {
    try {
      Import_IO_Report_Error(5, "Out of memory while allocating Inventor state struct");
    } catch (const InventorRunAborted &) {
      // No run to abort yet: the caller answers 1.
    }
    return false;
  }
  std::memset(&plugin.state->options, 0, sizeof plugin.state->options);
  SetDefaultOptions_Inventor();
  return true;
}

// Size of the input file: the low 32 bits of its end position.
void MeasureInputFile() {
  plugin.input_file_size = 0;
  if (!plugin.input_file) return;
  fseeko(plugin.input_file, 0, SEEK_END);
  plugin.input_file_size = static_cast<uint32_t>(ftello(plugin.input_file));
  fseeko(plugin.input_file, 0, SEEK_SET);
}

// Ends a run that cannot go on: its records go, its status is 1.
int16_t AbandonRun() {
  Import_IO_Abort_Cleanup();
  AbandonRunRecords();
  ClearSurfaceIndex();
  return 1;
}

// A run that cannot go on ends as a fatal error does: reported at level 5,
// which reaches the error hook, and left through the abort point.
[[noreturn]] void EndAsFatal(const std::string &message) {
  Import_IO_Report_Error(5, message.c_str());
  throw InventorRunAborted();  // a host whose hook came back
}

const char kNoStack[] = "Out of memory while allocating the conversion's stack.";

void ConvertOrEndAsFatal(const char *path) {
  try {
    ReadAndConvertFile_Inventor(path);
  } catch (const InventorInputRefused &refusal) {
    EndAsFatal(refusal.what());
  } catch (const std::exception &e) {
    // Coin3D throws when a damaged file asks for an impossible array (a
    // corrupt count in a binary file).
    EndAsFatal(std::string("Conversion stopped: ") + e.what() +
               " (a damaged file can ask for impossibly large arrays).");
  }
}

int32_t ConvertFile(const char *path) {
  if (!path) {
    Kv_Report_Error(4, "ERR_FILE_OPEN_READ", kFunction, "Inventor", "(no \"filename\" token given)");
    return 1;
  }
  plugin.input_file = std::fopen(path, "r");
  if (!plugin.input_file) {
    Kv_Report_Error(4, "ERR_FILE_OPEN_READ", kFunction, "Inventor", path);
    return 1;
  }
  const int32_t status = RunImportConverter_Inventor(path);
  std::fclose(plugin.input_file);
  plugin.input_file = nullptr;
  return status;
}

}  // namespace

void ImportConverter_Inventor(const char **tokens, const intptr_t *values, int32_t *result, intptr_t) {
  if (!EnsureState()) {
    *result = 1;
    return;
  }
  ResetRunOnlyOptions(plugin.state->options);
  const char *path = nullptr;
  for (int i = 0; tokens && tokens[i]; ++i) {
    const char *token = tokens[i];
    const char *value = reinterpret_cast<const char *>(values[i]);
    if (std::strcmp(token, "validate_header_2") == 0) {
      *result = ValidateHeader_Inventor(value);
      return;
    }
    if (std::strcmp(token, "filename") == 0) {
      path = value;
    } else if (!ApplyRunOptionToken(plugin.state->options, token, value)) {
      Kv_Report_Error(4, "ERR_GEOM_IMPORT_BAD_TOKEN", kFunction, token);
    }
  }
  *result = ConvertFile(path);
}

int16_t RunImportConverter_Inventor(const char *path) {
  int16_t status = 0;
  Kv_RegisterClassStorage(0xFFB6FFA9u, 0, 0);
  Kv_RegisterClassStorageAux(1);
  Import_IO_Initialize(path, ReportErrorHook_Inventor);
  Import_IO_Display_Info_Text("Reading Inventor File");
  MeasureInputFile();
  try {
    if (!RunOnLargeStack([path] { ConvertOrEndAsFatal(path); })) EndAsFatal(kNoStack);
  } catch (const InventorRunAborted &) {
    status = AbandonRun();
  }
  Import_IO_Cleanup();
  return status;
}

void ReportErrorHook_Inventor(Import_IO_ErrorRecord *record) {
  Import_IO_printf("%s\n", record->message ? record->message : "");
  // The abort point is the guarded run's catch: unwinding destroys the
  // driver's Coin3D objects on the way.
  if (record->level == 5) throw InventorRunAborted();
}
