// MessageBoxA and the text prompt: modal windows built in code, shown and
// driven like template dialogs.
#include <algorithm>

#include "win32/dialog_driver.h"
#include "win32/dialog_runtime.h"
#include "win32/dialog_text_layout.h"

namespace win32 {
namespace {

constexpr int kMargin = 7;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kButtonGap = 4;
constexpr size_t kLineChars = 72;  // longest message line before it wraps

struct ButtonDef {
  int id;
  const char *text;
};

std::vector<ButtonDef> ButtonsOf(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case 2: return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "&Yes"}, {IDNO, "&No"}};
    case 5: return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
    default: return {{IDOK, "OK"}};
  }
}

const char *IconOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return "(x)";
    case MB_ICONQUESTION: return "(?)";
    case MB_ICONEXCLAMATION: return "(!)";
    case MB_ICONASTERISK: return "(i)";
    default: return nullptr;
  }
}

ControlTemplate Static(int id, const std::string &text, int x, int y, int width, int height) {
  ControlTemplate c;
  c.kind = ControlKind::kStatic;
  c.id = id;
  c.text = text;
  c.x = x, c.y = y, c.width = width, c.height = height;
  return c;
}

ControlTemplate Button(const ButtonDef &tmpl, int x, int y, bool is_default) {
  ControlTemplate c = Static(tmpl.id, tmpl.text, x, y, kButtonWidth, kButtonHeight);
  c.kind = ControlKind::kPushButton;
  c.tab_stop = true;
  c.default_button = is_default;
  return c;
}

// A row of buttons below `top`, centred in a dialog at least `width` wide;
// the dialog grows to hold them.
void AddButtons(Dialog *d, const std::vector<ButtonDef> &buttons, int top, int width) {
  int row = static_cast<int>(buttons.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
  d->width = std::max(width, row + 2 * kMargin);
  d->height = top + kButtonHeight + kMargin;
  int x = (d->width - row) / 2;
  for (size_t i = 0; i < buttons.size(); ++i) {
    AddControl(d, Button(buttons[i], x, top, i == 0));
    x += kButtonWidth + kButtonGap;
  }
}

std::unique_ptr<Dialog> NewDialog(DialogRole role, HWND owner, const std::string &caption, DLGPROC procedure) {
  auto d = std::make_unique<Dialog>();
  d->is_dialog = true;
  d->role = role;
  d->owner = owner;
  d->caption = caption;
  d->procedure = procedure;
  return d;
}

void CentreOnScreen(Dialog *d) {
  LONG w = d->width * kBaseUnitX / 4, h = d->height * kBaseUnitY / 8;
  LONG left = (kScreenWidth - w) / 2, top = (kScreenHeight - h) / 2;
  d->rect = RECT{left, top, left + w, top + h};
}

INT_PTR CALLBACK MessageBoxProcedure(HWND box, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  Dialog *d = DialogOf(box);
  if (message != WM_COMMAND || !d) return FALSE;
  int id = LOWORD(wparam);
  Control *button = d->Find(id);
  if (button && button->tmpl.kind == ControlKind::kPushButton) return EndDialog(box, id);
  // Escape closes a box without Cancel only when its one button is OK.
  if (id == IDCANCEL && (d->message_box_type & MB_TYPEMASK) == MB_OK) return EndDialog(box, IDOK);
  return FALSE;
}

INT_PTR CALLBACK PromptProcedure(HWND prompt, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) {
    SetFocus(GetDlgItem(prompt, kPromptEditId));
    SendDlgItemMessageA(prompt, kPromptEditId, EM_SETSEL, 0, -1);
    return FALSE;
  }
  if (message != WM_COMMAND) return FALSE;
  int id = LOWORD(wparam);
  if (id == IDOK || id == IDCANCEL) return EndDialog(prompt, id);
  return FALSE;
}

std::vector<MessageBoxRecord> &Log() {
  static std::vector<MessageBoxRecord> log;
  return log;
}

std::unique_ptr<Dialog> BuildMessageBox(HWND owner, const std::string &text, const std::string &caption,
                                        UINT type) {
  auto d = NewDialog(DialogRole::kMessageBox, owner, caption, MessageBoxProcedure);
  d->message_box_type = type;
  std::vector<std::string> lines = WrapText(text, kLineChars);
  size_t widest = 1;
  for (const std::string &line : lines) widest = std::max(widest, line.size());
  int left = kMargin;
  if (const char *icon = IconOf(type)) {
    AddControl(d.get(), Static(IDC_STATIC, icon, kMargin, kMargin, 16, 8));
    left += 20;
  }
  int text_width = static_cast<int>(widest) * 4;
  int text_height = static_cast<int>(lines.size()) * 8;
  AddControl(d.get(), Static(kMessageTextId, text, left, kMargin, text_width, text_height));
  AddButtons(d.get(), ButtonsOf(type), kMargin + text_height + kMargin, left + text_width + kMargin);
  CentreOnScreen(d.get());
  return d;
}

}  // namespace

const std::vector<MessageBoxRecord> &MessageBoxLog() { return Log(); }
void ClearMessageBoxLog() { Log().clear(); }

bool PromptForText(HWND owner, const std::string &title, const std::string &question, std::string *text) {
  constexpr int kFieldWidth = 240;
  auto d = NewDialog(DialogRole::kPrompt, owner, title, PromptProcedure);
  AddControl(d.get(), Static(kPromptTextId, question, kMargin, kMargin, kFieldWidth, 8));
  ControlTemplate field = Static(kPromptEditId, "", kMargin, kMargin + 12, kFieldWidth, 12);
  field.kind = ControlKind::kEdit;
  field.tab_stop = true;
  AddControl(d.get(), field)->text = *text;
  AddButtons(d.get(), {{IDOK, "OK"}, {IDCANCEL, "Cancel"}}, kMargin + 30, kFieldWidth + 2 * kMargin);
  CentreOnScreen(d.get());
  if (!CurrentDialogUser() || RunModal(d.get(), 0) != IDOK) return false;
  *text = d->Find(kPromptEditId)->text;
  return true;
}

}  // namespace win32

using namespace win32;

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  auto box = BuildMessageBox(owner, text ? text : "", caption ? caption : "Error", type);
  int answer = IDOK;
  for (auto &control : box->controls) {
    if (control->tmpl.default_button) answer = control->tmpl.id;  // no one to ask: the first button
  }
  if (CurrentDialogUser()) {
    INT_PTR result = RunModal(box.get(), 0);
    answer = result < 0 ? 0 : static_cast<int>(result);
  }
  Log().push_back({owner, box->Find(kMessageTextId)->text, box->caption, type, answer});
  return answer;
}
