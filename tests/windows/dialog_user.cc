#include "tests/windows/dialog_user.h"

#include <gtest/gtest.h>

#include <thread>

#include "tests/windows/plugin_dll.h"

namespace windows_test {

namespace {

constexpr int kPolls = 200;   // of 25 ms: five seconds
constexpr DWORD kPollMs = 25;

struct BoxSearch {
  HWND owner;
  std::string title;
  HWND found;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM data) {
  auto *search = reinterpret_cast<BoxSearch *>(data);
  char title[256] = "", kind[64] = "";
  GetWindowTextA(window, title, sizeof title);
  GetClassNameA(window, kind, sizeof kind);
  if (std::string(kind) == "#32770" && search->title == title && IsWindowVisible(window) &&
      (search->owner == nullptr || GetWindow(window, GW_OWNER) == search->owner)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindDialog(HWND owner, const char *title) {
  BoxSearch search{owner, title, nullptr};
  for (int i = 0; i < kPolls && search.found == nullptr; ++i) {
    EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) Sleep(kPollMs);
  }
  return search.found;
}

BOOL CALLBACK CollectText(HWND child, LPARAM data) {
  char kind[64] = "", text[1024] = "";
  GetClassNameA(child, kind, sizeof kind);
  GetWindowTextA(child, text, sizeof text);
  // The icon is a static control too, without text.
  if (std::string(kind) == "Static" && text[0] != '\0') *reinterpret_cast<std::string *>(data) = text;
  return TRUE;
}

}  // namespace

int32_t RunDialog(const char *command, const char *title, const std::function<void(HWND)> &act) {
  std::thread user([&] {
    HWND dialog = FindDialog(nullptr, title);
    if (dialog == nullptr) {
      ADD_FAILURE() << "no dialog \"" << title << "\" appeared";
      return;
    }
    act(dialog);
    if (!WaitUntilClosed(dialog)) {
      ADD_FAILURE() << "the dialog is still open; cancelling it";
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
  });
  int32_t result = Send({command});
  user.join();
  return result;
}

void Click(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }

void Press(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void Type(HWND dialog, int id, const char *text) {
  SendDlgItemMessageA(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void Choose(HWND dialog, int id, int index) {
  SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // A program's CB_SETCURSEL sends no notification; the user's choice does.
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

HWND WaitForMessageBox(HWND owner, const char *title) { return FindDialog(owner, title); }

std::string MessageText(HWND box) {
  std::string text;
  EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
  return text;
}

void Acknowledge(HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }

bool WaitUntilClosed(HWND window) {
  for (int i = 0; i < kPolls; ++i) {
    if (!IsWindow(window)) return true;
    Sleep(kPollMs);
  }
  return !IsWindow(window);
}

}  // namespace windows_test
