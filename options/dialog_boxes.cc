// The two modal dialogs as the entry point runs them, from this module's
// templates and owned by the host's window.
#include "options/options.h"

#include "options/options_dialog.h"
#include "state/import_options.h"
#include "state/state.h"

int32_t ShowOptionsDialog_Inventor() {
  // The dialog shows and edits the options of the state record.
  if (!plugin.state) SetDefaultOptions_Inventor();
  return static_cast<int32_t>(
      DialogBoxParamA(plugin.module_instance, "OptionsDialog", plugin.parent_window, OptionsDialogProc_Inventor, 0));
}

void ShowAboutBox_Inventor() {
  DialogBoxParamA(plugin.module_instance, "AboutBox", plugin.parent_window, AboutBoxProc_Inventor, 0);
}
