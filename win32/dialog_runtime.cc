#include "win32/dialog_runtime.h"

#include <unordered_set>

#include "win32/dialog_driver.h"

namespace win32 {
namespace {

// Nested modal windows beyond this depth are refused: a procedure that opens
// itself again would otherwise recurse without end.
constexpr size_t kMaxNesting = 32;

std::unordered_set<const Window *> &LiveWindows() {
  static std::unordered_set<const Window *> windows;
  return windows;
}

std::vector<Dialog *> &Stack() {
  static std::vector<Dialog *> stack;
  return stack;
}

void Register(Dialog *dialog) {
  LiveWindows().insert(dialog);
  for (auto &control : dialog->controls) LiveWindows().insert(control.get());
}

void Unregister(Dialog *dialog) {
  LiveWindows().erase(dialog);
  for (auto &control : dialog->controls) LiveWindows().erase(control.get());
}

RECT Pixels(int x, int y, int width, int height) {
  RECT rect;
  rect.left = x * kBaseUnitX / 4;
  rect.top = y * kBaseUnitY / 8;
  rect.right = rect.left + width * kBaseUnitX / 4;
  rect.bottom = rect.top + height * kBaseUnitY / 8;
  return rect;
}

Control *FirstInteractive(const Dialog &dialog) {
  for (auto &control : dialog.controls) {
    if (IsInteractive(*control) && control->tmpl.tab_stop) return control.get();
  }
  return nullptr;
}

// Keeps the stack and the handles right when a procedure throws through the
// modal loop (the plug-in's abort path unwinds that way).
class ModalScope {
 public:
  explicit ModalScope(Dialog *dialog) : dialog_(dialog) {
    Register(dialog);
    Stack().push_back(dialog);
  }
  ~ModalScope() {
    Stack().pop_back();
    Unregister(dialog_);
  }

 private:
  Dialog *dialog_;
};

}  // namespace

Control *Dialog::Find(int id) const {
  for (auto &control : controls) {
    if (control->tmpl.id == id) return control.get();
  }
  return nullptr;
}

Window *FromHandle(HWND handle) {
  auto *window = reinterpret_cast<const Window *>(handle);
  return LiveWindows().count(window) ? const_cast<Window *>(window) : nullptr;
}

Dialog *DialogOf(HWND handle) {
  Window *window = FromHandle(handle);
  return window && window->is_dialog ? static_cast<Dialog *>(window) : nullptr;
}

Control *ControlOf(HWND handle) {
  Window *window = FromHandle(handle);
  return window && !window->is_dialog ? static_cast<Control *>(window) : nullptr;
}

Control *FindControl(HWND dialog, int id) {
  Dialog *record = DialogOf(dialog);
  return record ? record->Find(id) : nullptr;
}

std::unique_ptr<Dialog> BuildDialog(const DialogTemplate &tmpl) {
  auto dialog = std::make_unique<Dialog>();
  dialog->is_dialog = true;
  dialog->name = tmpl.name;
  dialog->caption = tmpl.caption;
  dialog->width = tmpl.width;
  dialog->height = tmpl.height;
  dialog->rect = Pixels(tmpl.x, tmpl.y, tmpl.width, tmpl.height);
  for (const ControlTemplate &control : tmpl.controls) AddControl(dialog.get(), control);
  return dialog;
}

Control *AddControl(Dialog *dialog, const ControlTemplate &tmpl) {
  auto control = std::make_unique<Control>();
  control->dialog = dialog;
  control->tmpl = tmpl;
  if (tmpl.kind != ControlKind::kEdit && tmpl.kind != ControlKind::kComboBox) control->text = tmpl.text;
  control->enabled = !tmpl.disabled;
  control->visible = !tmpl.hidden;
  dialog->controls.push_back(std::move(control));
  return dialog->controls.back().get();
}

INT_PTR RunModal(Dialog *dialog, LPARAM init_param) {
  if (Stack().size() >= kMaxNesting) return -1;
  ModalScope scope(dialog);
  Control *first = FirstInteractive(*dialog);
  INT_PTR wants_focus =
      SendToProcedure(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(HandleOf(first)), init_param);
  // As on Windows: TRUE from WM_INITDIALOG puts the focus on the first tab stop.
  if (wants_focus && first) dialog->focus = first;
  while (!dialog->ended) {
    DialogUser *user = CurrentDialogUser();
    DialogDriver driver(HandleOf(dialog));
    if ((!user || !user->Act(driver)) && !dialog->ended) {
      dialog->ended = true;
      dialog->result = -1;
    }
  }
  return dialog->result;
}

const std::vector<Dialog *> &OpenDialogs() { return Stack(); }

INT_PTR SendToProcedure(Dialog *dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (!dialog->procedure) return FALSE;
  return dialog->procedure(HandleOf(dialog), message, wparam, lparam);
}

INT_PTR Notify(Control *control, WORD code) {
  WPARAM wparam = MAKEWPARAM(static_cast<WORD>(control->tmpl.id), code);
  return SendToProcedure(control->dialog, WM_COMMAND, wparam, reinterpret_cast<LPARAM>(HandleOf(control)));
}

bool IsInteractive(const Control &control) {
  switch (control.tmpl.kind) {
    case ControlKind::kStatic:
    case ControlKind::kGroupBox:
      return false;
    default:
      return control.enabled && control.visible;
  }
}

std::vector<Control *> GroupOf(const Control &control) {
  const auto &all = control.dialog->controls;
  size_t at = 0;
  while (all[at].get() != &control) ++at;
  size_t first = at;
  while (first > 0 && !all[first]->tmpl.group_start) --first;
  std::vector<Control *> group{all[first].get()};
  for (size_t i = first + 1; i < all.size() && !all[i]->tmpl.group_start; ++i) group.push_back(all[i].get());
  return group;
}

}  // namespace win32
