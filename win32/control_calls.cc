// The control calls of a dialog: buttons, texts and combo box messages.
#include <cstring>

#include "win32/dialog_runtime.h"

namespace win32 {
namespace {

bool IsButton(const Control &c) {
  return c.tmpl.kind == ControlKind::kCheckBox || c.tmpl.kind == ControlKind::kRadioButton;
}

// Copies text into a caller's buffer of size bytes, always terminated.
LRESULT CopyOut(const std::string &text, char *buffer, size_t size) {
  if (!buffer || size == 0) return 0;
  size_t n = text.size() < size ? text.size() : size - 1;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<LRESULT>(n);
}

std::string ShownValue(const Control &c) {
  if (c.tmpl.kind != ControlKind::kComboBox) return c.text;
  return c.selection == CB_ERR ? std::string() : c.items[c.selection];
}

void SetText(Control *c, const char *text) {
  c->text = text ? text : "";
  c->caret = c->text.size();
  c->select_all = false;
}

LRESULT ComboMessage(Control *c, UINT message, WPARAM wparam, LPARAM lparam) {
  auto index = static_cast<intptr_t>(wparam);
  bool valid = index >= 0 && index < static_cast<intptr_t>(c->items.size());
  switch (message) {
    case CB_RESETCONTENT:
      c->items.clear();
      c->selection = c->highlight = CB_ERR;
      c->dropped = false;
      return 0;
    case CB_ADDSTRING:
      c->items.push_back(lparam ? reinterpret_cast<const char *>(lparam) : "");
      return static_cast<LRESULT>(c->items.size() - 1);
    case CB_GETCOUNT:
      return static_cast<LRESULT>(c->items.size());
    case CB_GETCURSEL:
      return c->selection;
    case CB_SETCURSEL:
      // Out of range clears the selection and answers CB_ERR, as on Windows.
      c->selection = valid ? static_cast<int>(index) : CB_ERR;
      return c->selection;
    case CB_GETLBTEXTLEN:
      return valid ? static_cast<LRESULT>(c->items[index].size()) : CB_ERR;
    case CB_GETLBTEXT:
      // The caller sized the buffer with CB_GETLBTEXTLEN.
      if (!valid) return CB_ERR;
      return CopyOut(c->items[index], reinterpret_cast<char *>(lparam), c->items[index].size() + 1);
    default:
      return 0;
  }
}

LRESULT ControlMessage(Control *c, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SETTEXT:
      SetText(c, reinterpret_cast<const char *>(lparam));
      return TRUE;
    case WM_GETTEXT:
      return CopyOut(ShownValue(*c), reinterpret_cast<char *>(lparam), wparam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(ShownValue(*c).size());
    case BM_GETCHECK:
      return IsButton(*c) ? c->check : 0;
    case BM_SETCHECK:
      if (IsButton(*c)) c->check = static_cast<UINT>(wparam);
      return 0;
    case EM_SETSEL:
      // Only "select everything" (0, -1) is used: the next key replaces the text.
      c->select_all = wparam == 0 && lparam == -1;
      c->caret = c->text.size();
      return 0;
    default:
      return c->tmpl.kind == ControlKind::kComboBox ? ComboMessage(c, message, wparam, lparam) : 0;
  }
}

}  // namespace
}  // namespace win32

using namespace win32;

HWND WINAPI GetDlgItem(HWND dialog, int id) {
  Control *c = FindControl(dialog, id);
  return c ? HandleOf(c) : nullptr;
}

int WINAPI GetDlgCtrlID(HWND control) {
  Control *c = ControlOf(control);
  return c ? c->tmpl.id : 0;
}

BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check) {
  Control *c = FindControl(dialog, id);
  if (!c || !IsButton(*c)) return FALSE;
  c->check = check;
  return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND dialog, int id) {
  Control *c = FindControl(dialog, id);
  return c && IsButton(*c) ? c->check : BST_UNCHECKED;
}

BOOL WINAPI CheckRadioButton(HWND dialog, int first_id, int last_id, int check_id) {
  Dialog *d = DialogOf(dialog);
  if (!d) return FALSE;
  for (auto &c : d->controls) {
    if (IsButton(*c) && c->tmpl.id >= first_id && c->tmpl.id <= last_id) {
      c->check = c->tmpl.id == check_id ? BST_CHECKED : BST_UNCHECKED;
    }
  }
  return TRUE;
}

BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  Control *c = FindControl(dialog, id);
  if (!c || c->tmpl.kind == ControlKind::kComboBox) return FALSE;
  SetText(c, text);
  return TRUE;
}

UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size) {
  Control *c = FindControl(dialog, id);
  if (!c || size <= 0) return 0;
  return static_cast<UINT>(CopyOut(ShownValue(*c), buffer, static_cast<size_t>(size)));
}

LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wparam, LPARAM lparam) {
  Control *c = FindControl(dialog, id);
  return c ? ControlMessage(c, message, wparam, lparam) : 0;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  Control *c = ControlOf(window);
  return c ? ControlMessage(c, message, wparam, lparam) : 0;
}
