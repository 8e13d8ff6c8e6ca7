// A small dialog of every control kind, with a procedure that records the
// commands it receives, for the Win32 layer's tests.
#ifndef TESTS_WIN32_TEST_DIALOG_H
#define TESTS_WIN32_TEST_DIALOG_H

#include <string>
#include <vector>

#include "win32/dialog_driver.h"

enum {
  IDC_LIGHTS = 101,
  IDC_CAMERAS = 102,
  IDC_NEAR = 103,
  IDC_FAR = 104,
  IDC_UP = 105,
  IDC_DOWN = 106,
  IDC_SIZE = 107,
  IDC_MODE = 108,
  IDC_PATH = 109,
};

// The module whose resource script holds "TestDialog".
HINSTANCE TestModule();

// "command <id> <code>" per WM_COMMAND, "init <param>" for WM_INITDIALOG.
std::vector<std::string> &ProcedureLog();

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// Runs "TestDialog" with the script as its user; a failure of the test
// when the dialog closed before every step of the script ran.
INT_PTR RunTestDialog(win32::ScriptedUser &user, LPARAM param = 0);

#endif
