#include "win32/dialog_driver.h"

#include "win32/dialog_runtime.h"

namespace win32 {
namespace {

DialogUser *g_user = nullptr;

// The control if the user can reach it: present, shown, enabled.
Control *Reachable(HWND window, int id) {
  Control *c = FindControl(window, id);
  return c && IsInteractive(*c) ? c : nullptr;
}

void ClickRadio(Control *c) {
  if (!c->tmpl.automatic) return;
  for (Control *other : GroupOf(*c)) {
    if (other->tmpl.kind == ControlKind::kRadioButton) other->check = BST_UNCHECKED;
  }
  c->check = BST_CHECKED;
}

}  // namespace

bool DialogDriver::IsOpen() const {
  Dialog *d = DialogOf(window_);
  return d && !d->ended;
}

std::string DialogDriver::TemplateName() const {
  Dialog *d = DialogOf(window_);
  return d ? d->name : "";
}

std::string DialogDriver::Caption() const {
  Dialog *d = DialogOf(window_);
  return d ? d->caption : "";
}

bool DialogDriver::IsMessageBox() const {
  Dialog *d = DialogOf(window_);
  return d && d->role == DialogRole::kMessageBox;
}

bool DialogDriver::IsPrompt() const {
  Dialog *d = DialogOf(window_);
  return d && d->role == DialogRole::kPrompt;
}

UINT DialogDriver::MessageBoxType() const {
  Dialog *d = DialogOf(window_);
  return d ? d->message_box_type : 0;
}

std::string DialogDriver::MessageText() const {
  return IsPrompt() ? Text(kPromptTextId) : Text(kMessageTextId);
}

bool DialogDriver::Click(int id) {
  Control *c = Reachable(window_, id);
  if (!c) return false;
  c->dialog->focus = c;
  switch (c->tmpl.kind) {
    case ControlKind::kCheckBox:
      if (c->tmpl.automatic) c->check = c->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
      break;
    case ControlKind::kRadioButton:
      ClickRadio(c);
      break;
    case ControlKind::kPushButton:
      break;
    default:
      return true;  // edits and lists only take the focus
  }
  Notify(c, BN_CLICKED);
  return true;
}

bool DialogDriver::Choose(int id, int index) {
  Control *c = Reachable(window_, id);
  if (!c || c->tmpl.kind != ControlKind::kComboBox) return false;
  if (index < 0 || index >= static_cast<int>(c->items.size())) return false;
  c->dialog->focus = c;
  c->selection = index;
  c->dropped = false;
  Notify(c, CBN_SELCHANGE);
  return true;
}

bool DialogDriver::Choose(int id, const std::string &item) {
  std::vector<std::string> items = Items(id);
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == item) return Choose(id, static_cast<int>(i));
  }
  return false;
}

bool DialogDriver::Type(int id, const std::string &text) {
  Control *c = Reachable(window_, id);
  if (!c || c->tmpl.kind != ControlKind::kEdit || c->tmpl.read_only) return false;
  c->dialog->focus = c;
  c->text = text;
  c->caret = text.size();
  c->select_all = false;
  Notify(c, EN_CHANGE);
  return true;
}

bool DialogDriver::PressEscape() {
  Dialog *d = DialogOf(window_);
  if (!d) return false;
  SendToProcedure(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  return true;
}

bool DialogDriver::Exists(int id) const { return FindControl(window_, id) != nullptr; }

ControlKind DialogDriver::Kind(int id) const {
  Control *c = FindControl(window_, id);
  return c ? c->tmpl.kind : ControlKind::kStatic;
}

std::string DialogDriver::Text(int id) const {
  Control *c = FindControl(window_, id);
  return c ? c->text : "";
}

std::string DialogDriver::ShownText(int id) const { return DisplayText(Text(id)); }

bool DialogDriver::Checked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }

bool DialogDriver::Enabled(int id) const {
  Control *c = FindControl(window_, id);
  return c && c->enabled;
}

bool DialogDriver::Visible(int id) const {
  Control *c = FindControl(window_, id);
  return c && c->visible;
}

std::vector<std::string> DialogDriver::Items(int id) const {
  Control *c = FindControl(window_, id);
  return c ? c->items : std::vector<std::string>();
}

int DialogDriver::Selection(int id) const {
  Control *c = FindControl(window_, id);
  return c ? c->selection : CB_ERR;
}

std::string DialogDriver::SelectedItem(int id) const {
  Control *c = FindControl(window_, id);
  return c && c->selection != CB_ERR ? c->items[c->selection] : "";
}

int DialogDriver::Focus() const {
  Dialog *d = DialogOf(window_);
  return d && d->focus ? d->focus->tmpl.id : 0;
}

std::vector<int> DialogDriver::ControlIds() const {
  std::vector<int> ids;
  if (Dialog *d = DialogOf(window_)) {
    for (auto &c : d->controls) ids.push_back(c->tmpl.id);
  }
  return ids;
}

std::vector<HWND> OpenWindows() {
  std::vector<HWND> windows;
  for (Dialog *d : OpenDialogs()) windows.push_back(HandleOf(d));
  return windows;
}

DialogUser *SetDialogUser(DialogUser *user) {
  DialogUser *previous = g_user;
  g_user = user;
  return previous;
}

DialogUser *CurrentDialogUser() { return g_user; }

ScriptedUser &ScriptedUser::Then(Step step) {
  steps_.push_back(std::move(step));
  return *this;
}

bool ScriptedUser::Act(DialogDriver &window) {
  if (steps_.empty()) return false;
  Step step = std::move(steps_.front());
  steps_.pop_front();
  step(window);
  return true;
}

}  // namespace win32
