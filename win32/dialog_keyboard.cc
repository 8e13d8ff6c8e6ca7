#include "win32/dialog_keyboard.h"

#include <algorithm>
#include <cctype>

#include "win32/dialog_runtime.h"

namespace win32 {
namespace {

std::vector<Control *> Reachable(const Dialog &d) {
  std::vector<Control *> list;
  for (auto &c : d.controls) {
    if (IsInteractive(*c)) list.push_back(c.get());
  }
  return list;
}

void Focus(Control *c) {
  Dialog *d = c->dialog;
  if (d->focus) d->focus->dropped = false;
  d->focus = c;
  if (c->tmpl.kind == ControlKind::kEdit) {
    c->select_all = true;
    c->caret = c->text.size();
  }
}

void MoveFocus(Dialog *d, int step) {
  std::vector<Control *> list = Reachable(*d);
  if (list.empty()) return;
  int n = static_cast<int>(list.size());
  int at = -1;
  for (int i = 0; i < n; ++i) {
    if (list[i] == d->focus) at = i;
  }
  int next = at < 0 ? (step > 0 ? 0 : n - 1) : ((at + step) % n + n) % n;
  Focus(list[next]);
}

bool IsPressable(const Control &c) {
  return c.tmpl.kind == ControlKind::kPushButton || c.tmpl.kind == ControlKind::kCheckBox ||
         c.tmpl.kind == ControlKind::kRadioButton;
}

// Enter and Space on a list: open it, or take the marked entry and close it.
void PressList(DialogDriver &window, Control *c) {
  if (!c->dropped) {
    c->dropped = !c->items.empty();
    c->highlight = c->selection == CB_ERR ? 0 : c->selection;
    return;
  }
  c->dropped = false;
  window.Choose(c->tmpl.id, c->highlight);
}

void PressDefault(DialogDriver &window, const Dialog &d) {
  for (auto &c : d.controls) {
    if (c->tmpl.default_button && IsInteractive(*c)) {
      window.Click(c->tmpl.id);
      return;
    }
  }
  // Windows sends IDOK when there is no default button to press.
  SendToProcedure(DialogOf(window.handle()), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void Edit(Control *c, Key key) {
  std::string &text = c->text;
  if (c->select_all && (key.code == KeyCode::kChar || key.code == KeyCode::kBackspace ||
                        key.code == KeyCode::kDelete)) {
    text.clear();
    c->caret = 0;
    if (key.code != KeyCode::kChar) key = Key{KeyCode::kHome};
  }
  c->select_all = false;
  if (c->caret > text.size()) c->caret = text.size();
  switch (key.code) {
    case KeyCode::kChar: text.insert(c->caret++, 1, key.ch); break;
    case KeyCode::kBackspace: if (c->caret > 0) text.erase(--c->caret, 1); break;
    case KeyCode::kDelete: if (c->caret < text.size()) text.erase(c->caret, 1); break;
    case KeyCode::kLeft: if (c->caret > 0) --c->caret; break;
    case KeyCode::kRight: if (c->caret < text.size()) ++c->caret; break;
    case KeyCode::kHome: c->caret = 0; break;
    case KeyCode::kEnd: c->caret = text.size(); break;
    default: return;
  }
  if (key.code == KeyCode::kChar || key.code == KeyCode::kBackspace || key.code == KeyCode::kDelete) {
    Notify(c, EN_CHANGE);
  }
}

bool IsEditKey(const Key &key) {
  switch (key.code) {
    case KeyCode::kChar: case KeyCode::kBackspace: case KeyCode::kDelete:
    case KeyCode::kLeft: case KeyCode::kRight: case KeyCode::kHome: case KeyCode::kEnd:
      return true;
    default:
      return false;
  }
}

// A letter without a field to type into presses the control it underlines;
// a label's letter moves to the control after the label.
void Mnemonic(DialogDriver &window, Dialog *d, char letter) {
  auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
  for (size_t i = 0; i < d->controls.size(); ++i) {
    Control *c = d->controls[i].get();
    int at = -1;
    std::string shown = DisplayText(c->text, &at);
    if (at < 0 || lower(shown[at]) != lower(letter) || !c->visible) continue;
    if (IsPressable(*c)) {
      window.Click(c->tmpl.id);
    } else if (IsInteractive(*c)) {
      Focus(c);
    } else if (i + 1 < d->controls.size() && IsInteractive(*d->controls[i + 1])) {
      Focus(d->controls[i + 1].get());
    }
    return;
  }
}

void Arrow(DialogDriver &window, Dialog *d, int step, bool vertical) {
  Control *c = d->focus;
  if (c && c->dropped && vertical) {
    int last = static_cast<int>(c->items.size()) - 1;
    c->highlight = std::max(0, std::min(last, c->highlight + step));
  } else if (c && !vertical && c->tmpl.kind == ControlKind::kComboBox) {
    int next = (c->selection == CB_ERR ? -1 : c->selection) + step;
    window.Choose(c->tmpl.id, next);
  } else {
    MoveFocus(d, step);
  }
}

}  // namespace

void PressKey(DialogDriver &window, Key key) {
  Dialog *d = DialogOf(window.handle());
  if (!d) return;
  Control *focus = d->focus;
  bool editing = focus && focus->tmpl.kind == ControlKind::kEdit && !focus->tmpl.read_only;
  if (editing && IsEditKey(key)) return Edit(focus, key);
  switch (key.code) {
    case KeyCode::kTab: return MoveFocus(d, 1);
    case KeyCode::kBackTab: return MoveFocus(d, -1);
    case KeyCode::kUp: return Arrow(window, d, -1, true);
    case KeyCode::kDown: return Arrow(window, d, 1, true);
    case KeyCode::kLeft: return Arrow(window, d, -1, false);
    case KeyCode::kRight: return Arrow(window, d, 1, false);
    case KeyCode::kEscape:
      if (focus && focus->dropped) {
        focus->dropped = false;
        return;
      }
      window.PressEscape();
      return;
    case KeyCode::kEnter:
      if (focus && focus->tmpl.kind == ControlKind::kComboBox) return PressList(window, focus);
      if (focus && focus->tmpl.kind == ControlKind::kPushButton) {
        window.Click(focus->tmpl.id);
        return;
      }
      return PressDefault(window, *d);
    case KeyCode::kChar:
      if (key.ch == ' ' && focus && focus->tmpl.kind == ControlKind::kComboBox) return PressList(window, focus);
      if (key.ch == ' ' && focus && IsPressable(*focus)) {
        window.Click(focus->tmpl.id);
        return;
      }
      return Mnemonic(window, d, key.ch);
    default:
      return;
  }
}

}  // namespace win32
