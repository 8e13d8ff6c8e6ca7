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
  const char *title;  // any title when null
  HWND found;
};

// Wine lists the windows of every process on the display: the tests that
// run beside this one show dialogs of the same titles.
bool OfThisProcess(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId();
}

BOOL CALLBACK MatchBox(HWND window, LPARAM data) {
  auto *search = reinterpret_cast<BoxSearch *>(data);
  char title[256] = "", kind[64] = "";
  GetWindowTextA(window, title, sizeof title);
  GetClassNameA(window, kind, sizeof kind);
  if (std::string(kind) == "#32770" && (!search->title || std::string(search->title) == title) &&
      IsWindowVisible(window) && OfThisProcess(window) &&
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

BOOL CALLBACK FindIcon(HWND child, LPARAM data) {
  char kind[64] = "";
  GetClassNameA(child, kind, sizeof kind);
  if (std::string(kind) != "Static" || (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
  *reinterpret_cast<HICON *>(data) = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
  return FALSE;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(window, message, wparam, lparam);
}

BOOL CALLBACK CollectText(HWND child, LPARAM data) {
  char kind[64] = "", text[1024] = "";
  GetClassNameA(child, kind, sizeof kind);
  GetWindowTextA(child, text, sizeof text);
  // The icon is a static control too, without text.
  if (std::string(kind) == "Static" && text[0] != '\0') *reinterpret_cast<std::string *>(data) = text;
  return TRUE;
}

// Posts the command that ends it to each dialog of a thread: OK to every
// box over the dialog under test; to that dialog, once nothing covers it,
// Cancel (and OK, the only way out of the about box).
BOOL CALLBACK PostEnd(HWND window, LPARAM data) {
  char kind[64] = "";
  GetClassNameA(window, kind, sizeof kind);
  if (std::string(kind) != "#32770" || !IsWindowVisible(window)) return TRUE;
  if (window != reinterpret_cast<HWND>(data)) {
    PostMessageA(window, WM_COMMAND, IDOK, 0);
  } else if (IsWindowEnabled(window)) {
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
  }
  return TRUE;
}

// Ends a dialog that a failed test left open, with whatever boxes it left
// over it: the loop of a box still up would keep the command from
// returning, and the test program would hang instead of failing.
void EndLeftOpen(HWND dialog) {
  const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
  for (int i = 0; i < kPolls && IsWindow(dialog); ++i) {
    EnumThreadWindows(thread, PostEnd, reinterpret_cast<LPARAM>(dialog));
    Sleep(kPollMs);
  }
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
      EndLeftOpen(dialog);
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

void Select(HWND dialog, int id, int index) {
  SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void Settle(HWND dialog) {
  // A message sent from another thread is handled when the dialog's thread
  // next reads its messages, after the handler it is in has returned.
  SendMessageA(dialog, WM_NULL, 0, 0);
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

bool Visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }

std::string Text(HWND dialog, int id) {
  char text[1024] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

std::vector<std::string> Items(HWND dialog, int id) {
  std::vector<std::string> items;
  const LRESULT count = SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char text[256] = "";
    SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

std::string SelectedItem(HWND dialog, int id) {
  const LRESULT selected = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
  const std::vector<std::string> items = Items(dialog, id);
  return selected >= 0 && selected < static_cast<LRESULT>(items.size()) ? items[static_cast<size_t>(selected)] : "";
}

void PressEscape(HWND dialog) {
  // To a control, as the keyboard sends it to the one with the focus.
  PostMessageA(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageA(GetDlgItem(dialog, IDOK), WM_KEYUP, VK_ESCAPE, 0xC0000001);
}

void PressCloseBox(HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

HWND WaitForMessageBox(HWND owner, const char *title) { return FindDialog(owner, title); }

HWND WaitForOwnedDialog(HWND owner) { return FindDialog(owner, nullptr); }

HICON MessageIcon(HWND box) {
  HICON icon = nullptr;
  EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&icon));
  return icon;
}

std::string MessageText(HWND box) {
  std::string text;
  EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
  return text;
}

void Acknowledge(HWND box) { Answer(box, IDOK); }

void Answer(HWND box, int button) { PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0); }

bool WaitUntilClosed(HWND window) {
  for (int i = 0; i < kPolls; ++i) {
    if (!IsWindow(window)) return true;
    Sleep(kPollMs);
  }
  return !IsWindow(window);
}

HostWindow::HostWindow() {
  WNDCLASSA host_class = {};
  host_class.lpfnWndProc = HostProc;
  host_class.hInstance = GetModuleHandleA(nullptr);
  host_class.lpszClassName = "KavrelTestHost";
  RegisterClassA(&host_class);  // fails harmlessly when already registered
  window_ = CreateWindowExA(0, "KavrelTestHost", "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                            nullptr, host_class.hInstance, nullptr);
  Send({"parent_hWnd"}, {reinterpret_cast<intptr_t>(window_)});
}

HostWindow::~HostWindow() {
  Send({"parent_hWnd"}, {0});  // the plug-in keeps no handle of a window that is gone
  DestroyWindow(window_);
}

}  // namespace windows_test
