#include "tests/win32/test_dialog.h"

#include <gtest/gtest.h>

namespace {

const char kScript[] = R"rc(
#define IDC_LIGHTS 101
#define IDC_CAMERAS 102
#define IDC_NEAR 103
#define IDC_FAR 104
#define IDC_UP 105
#define IDC_DOWN 106
#define IDC_SIZE 107
#define IDC_MODE 108
#define IDC_PATH 109

TestDialog DIALOGEX 0, 0, 200, 120
CAPTION "Test Dialog"
FONT 8, "MS Shell Dlg"
BEGIN
    GROUPBOX        "&Settings && more",IDC_STATIC,4,4,192,86
    CONTROL         "&Lights",IDC_LIGHTS,"Button",BS_AUTOCHECKBOX | WS_TABSTOP,
                    10,16,60,10
    CHECKBOX        "Cameras",IDC_CAMERAS,80,16,60,10
    RADIOBUTTON     "Near",IDC_NEAR,10,30,40,10,WS_GROUP
    RADIOBUTTON     "Far",IDC_FAR,60,30,40,10
    AUTORADIOBUTTON "Up",IDC_UP,10,44,40,10,WS_GROUP
    AUTORADIOBUTTON "Down",IDC_DOWN,60,44,40,10
    LTEXT           "Si&ze:",IDC_STATIC,10,60,20,8,WS_GROUP
    EDITTEXT        IDC_SIZE,32,58,40,12,ES_AUTOHSCROLL
    COMBOBOX        IDC_MODE,80,58,60,60,CBS_DROPDOWNLIST | WS_TABSTOP
    EDITTEXT        IDC_PATH,10,74,100,12,ES_READONLY | WS_DISABLED
    DEFPUSHBUTTON   "&OK",IDOK,40,96,50,14
    PUSHBUTTON      "Cancel",IDCANCEL,100,96,50,14
END
)rc";

const Win32ModuleResources kModule = {kScript};

}  // namespace

HINSTANCE TestModule() { return reinterpret_cast<HINSTANCE>(const_cast<Win32ModuleResources *>(&kModule)); }

std::vector<std::string> &ProcedureLog() {
  static std::vector<std::string> log;
  return log;
}

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    ProcedureLog().push_back("init " + std::to_string(lparam));
    for (const char *mode : {"Fast", "Exact", "Both"}) {
      SendDlgItemMessageA(dialog, IDC_MODE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(mode));
    }
    SendDlgItemMessageA(dialog, IDC_MODE, CB_SETCURSEL, 1, 0);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  int id = LOWORD(wparam);
  ProcedureLog().push_back("command " + std::to_string(id) + " " + std::to_string(HIWORD(wparam)));
  if (id == IDOK || id == IDCANCEL) return EndDialog(dialog, id == IDOK ? 1 : 0);
  if (id == IDC_CAMERAS) return CheckDlgButton(dialog, id, !IsDlgButtonChecked(dialog, id));
  if (id == IDC_NEAR || id == IDC_FAR) return CheckRadioButton(dialog, IDC_NEAR, IDC_FAR, id);
  return FALSE;
}

INT_PTR RunTestDialog(win32::ScriptedUser &user, LPARAM param) {
  ProcedureLog().clear();
  win32::ScopedDialogUser scoped(&user);
  INT_PTR result = DialogBoxParamA(TestModule(), "testdialog", nullptr, TestDialogProc, param);
  // A step that never ran checked nothing: the test would pass without it.
  EXPECT_EQ(user.remaining(), 0u) << "the dialog closed before the script ended";
  return result;
}
