// OK of the options dialog: the typed numbers are tested in table order,
// with the texture directory between the two stages; the first that fails
// keeps the dialog open with its message, and every value that passed
// before it stays stored.
#include "host/import_io.h"
#include "options/option_table.h"
#include "options/options.h"
#include "options/options_dialog.h"
#include "options/preferences_file.h"
#include "state/state.h"

namespace {

bool Passes(const NumberCheck &check, double value) {
  if (check.rule == NumberRule::kAbove) return value > check.bound;
  if (check.rule == NumberRule::kNotBelow) return !(value < check.bound);
  return true;
}

bool Refuse(HWND dialog, const OptionControl &control) {
  MessageBoxA(dialog, control.check.message, control.check.caption, MB_OK);
  Import_IO_SetFocus_Edit_Control(dialog, control.id);
  return false;
}

bool AcceptInteger(HWND dialog, const OptionControl &control, int32_t &field) {
  int32_t value = 0;
  if (!Import_IO_Dialog_To_NdInt(dialog, control.id, &value)) return false;
  if (!Passes(control.check, value)) return Refuse(dialog, control);
  field = value;
  return true;
}

bool AcceptFloat(HWND dialog, const OptionControl &control, float &field) {
  if (control.check.rule == NumberRule::kSmoothingAngle) {
    return Import_IO_Check_Smoothing_Angle(dialog, control.id, &field) != 0;
  }
  float value = 0;
  if (!Import_IO_Dialog_To_NdFloat(dialog, control.id, &value)) return false;
  if (!Passes(control.check, value)) return Refuse(dialog, control);
  field = value;
  return true;
}

// Every typed number of one stage, tested whether or not its control is
// enabled (a greyed LOD level or weld threshold is tested all the same).
bool AcceptTypedNumbers(HWND dialog, ImportOptions &o, AcceptStage stage) {
  for (const OptionRow &row : option_table) {
    const OptionControl &control = row.control;
    if (control.kind == OptionControlKind::kIntegerEdit && control.check.stage == stage) {
      if (!AcceptInteger(dialog, control, row.long_value.In(o))) return false;
    } else if (control.kind == OptionControlKind::kNumberEdit && control.check.stage == stage) {
      if (!AcceptFloat(dialog, control, row.float_value.In(o))) return false;
    }
  }
  return true;
}

bool AcceptTextureDirectory(HWND dialog, const ImportOptions &o) {
  if (o.txtr_save_dir_same == 1 || o.txtr_save_dir) return true;
  MessageBoxA(dialog, "Invalid textures directory", "Invalid Option", MB_OK | MB_ICONEXCLAMATION);
  return false;
}

// Without a support directory ("initialize" not yet sent) there is no
// preferences file to write.
void SavePreferences() {
  if (!plugin.plugin_directory) return;
  SaveImportConvertOptions_Inventor(PreferencesFilePath(plugin.plugin_directory).c_str());
}

}  // namespace

bool AcceptOptions(HWND dialog) {
  ImportOptions &o = DialogOptions();
  if (!AcceptTypedNumbers(dialog, o, AcceptStage::kBeforeTextureDirectory) || !AcceptTextureDirectory(dialog, o) ||
      !AcceptTypedNumbers(dialog, o, AcceptStage::kAfterTextureDirectory)) {
    return false;
  }
  if (o.txtr_ref_dir_strip && o.txtr_ref_dir_specific) o.txtr_ref_dir_specific = 0;
  if (!CheckShadingValue(dialog)) return false;
  SavePreferences();
  return true;
}
