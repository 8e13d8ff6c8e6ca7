// The options dialog procedure: opening, and the commands of its controls.
#include "host/import_io.h"
#include "host/kv_toolkit.h"
#include "options/options.h"
#include "options/options_dialog.h"
#include "options/resource.h"
#include "state/state.h"

namespace {

void ReleaseDirectory(char *&directory) {
  if (directory) Kv_Free_Memory(directory);
  directory = nullptr;
}

void ResetOptions(HWND dialog) {
  int answer = MessageBoxA(dialog,
                           "This will reset the values of this dialog box to their power-up defaults.\n\n"
                           "Are you sure you want to do this?",
                           "Confirmation Request", MB_YESNO | MB_ICONQUESTION);
  if (answer != IDYES) return;
  ImportOptions &o = DialogOptions();
  // The defaults set both directories to null without releasing them.
  ReleaseDirectory(o.txtr_save_dir);
  ReleaseDirectory(o.txtr_ref_dir);
  o.options_defaults_set = 0;
  SetDefaultOptions_Inventor();
  FillOptionsDialog(dialog);
  ApplyEnableRules(dialog);
}

bool ListCommand(HWND dialog, int id) {
  switch (id) {
    case IDC_SURF_ATTR: ShadingAttributeChanged(dialog); return true;
    case IDC_SURF_ATTR_OPERATION: ShadingOperationChanged(dialog); return true;
    default: return HandleOptionList(dialog, id);
  }
}

bool ButtonCommand(HWND dialog, int id) {
  switch (id) {
    case IDOK:
      if (AcceptOptions(dialog)) EndDialog(dialog, 1);
      return true;
    case IDCANCEL:
      EndDialog(dialog, 0);
      return true;
    case IDC_HELP_BUTTON:
      ShowPluginHelp(dialog);
      return true;
    case IDC_ABOUT_BUTTON:
      // Owned by this dialog, not by the host's window, so that it is modal
      // to this dialog: owned by the host's window, it would leave this
      // dialog usable beneath it, and ending it would enable the host's
      // window (ending a dialog enables its owner) while this one is up.
      DialogBoxParamA(plugin.module_instance, "AboutBox", dialog, AboutBoxProc_Inventor, 0);
      return true;
    case IDC_RESET_BUTTON:
      ResetOptions(dialog);
      return true;
    case IDC_OPTIMIZE_OBJECTS_OPTIONS:
      Import_IO_ShowMoveChildrenOfYellowFolderOptionsDialogBox(dialog, 1);
      return true;
    default:
      return HandleOptionButton(dialog, id);
  }
}

}  // namespace

INT_PTR CALLBACK OptionsDialogProc_Inventor(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) {
    Import_IO_Center_Window(plugin.parent_window, dialog);
    FillOptionsDialog(dialog);
    ApplyEnableRules(dialog);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  int id = LOWORD(wparam);
  switch (HIWORD(wparam)) {
    case CBN_SELCHANGE: return ListCommand(dialog, id) ? TRUE : FALSE;
    case BN_CLICKED: return ButtonCommand(dialog, id) ? TRUE : FALSE;
    default: return FALSE;
  }
}
