// The about box: only its OK button closes it; Escape and the title bar's
// close button (both IDCANCEL) are not handled and leave it open.
#include "host/import_io.h"
#include "options/options_dialog.h"
#include "options/resource.h"
#include "state/state.h"

void ShowPluginHelp(HWND window) { Import_IO_DisplayHelpTopic(window, plugin.plugin_directory, "vorlix.hlp", "main"); }

INT_PTR CALLBACK AboutBoxProc_Inventor(HWND box, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) {
    Import_IO_Center_Window(plugin.parent_window, box);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wparam)) {
    case IDOK:
      EndDialog(box, 1);
      return TRUE;
    case IDC_HELP_BUTTON:
      ShowPluginHelp(box);
      return TRUE;
    default:
      return FALSE;
  }
}
