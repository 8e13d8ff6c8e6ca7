// Visibility, enabling, focus and placement of the in-memory windows.
#include "win32/dialog_runtime.h"

namespace win32 {
namespace {

// A control that can no longer take input gives up the focus and closes
// its open list.
void LoseInput(Control *c) {
  c->dropped = false;
  if (c->dialog->focus == c) c->dialog->focus = nullptr;
}

RECT ControlRect(const Control &c) {
  const RECT &owner = c.dialog->rect;
  RECT rect;
  rect.left = owner.left + c.tmpl.x * kBaseUnitX / 4;
  rect.top = owner.top + c.tmpl.y * kBaseUnitY / 8;
  rect.right = rect.left + c.tmpl.width * kBaseUnitX / 4;
  rect.bottom = rect.top + c.tmpl.height * kBaseUnitY / 8;
  return rect;
}

}  // namespace
}  // namespace win32

using namespace win32;

BOOL WINAPI IsWindow(HWND window) { return FromHandle(window) != nullptr; }

BOOL WINAPI ShowWindow(HWND window, int command) {
  Control *c = ControlOf(window);
  if (!c) return FALSE;
  BOOL was_visible = c->visible;
  c->visible = command != SW_HIDE;
  if (!c->visible) LoseInput(c);
  return was_visible;
}

BOOL WINAPI IsWindowVisible(HWND window) {
  Window *w = FromHandle(window);
  if (!w) return FALSE;
  return w->is_dialog ? TRUE : static_cast<Control *>(w)->visible;
}

BOOL WINAPI EnableWindow(HWND window, BOOL enable) {
  Control *c = ControlOf(window);
  if (!c) return FALSE;
  BOOL was_disabled = !c->enabled;
  c->enabled = enable != FALSE;
  if (!c->enabled) LoseInput(c);
  return was_disabled;
}

BOOL WINAPI IsWindowEnabled(HWND window) {
  Window *w = FromHandle(window);
  if (!w) return FALSE;
  return w->is_dialog ? TRUE : static_cast<Control *>(w)->enabled;
}

HWND WINAPI SetFocus(HWND window) {
  Control *c = ControlOf(window);
  if (!c) return nullptr;
  Control *previous = c->dialog->focus;
  c->dialog->focus = c;
  return previous ? HandleOf(previous) : nullptr;
}

HWND WINAPI GetFocus(void) {
  const std::vector<Dialog *> &open = OpenDialogs();
  if (open.empty() || !open.back()->focus) return nullptr;
  return HandleOf(open.back()->focus);
}

BOOL WINAPI GetWindowRect(HWND window, LPRECT rect) {
  Window *w = FromHandle(window);
  if (!w || !rect) return FALSE;
  *rect = w->is_dialog ? static_cast<Dialog *>(w)->rect : ControlRect(*static_cast<Control *>(w));
  return TRUE;
}

BOOL WINAPI SetWindowPos(HWND window, HWND, int x, int y, int cx, int cy, UINT flags) {
  Dialog *d = DialogOf(window);
  if (!d) return FALSE;
  LONG width = (flags & SWP_NOSIZE) ? d->rect.right - d->rect.left : cx;
  LONG height = (flags & SWP_NOSIZE) ? d->rect.bottom - d->rect.top : cy;
  d->rect = RECT{x, y, x + width, y + height};
  return TRUE;
}

int WINAPI GetSystemMetrics(int index) {
  if (index == SM_CXSCREEN) return kScreenWidth;
  if (index == SM_CYSCREEN) return kScreenHeight;
  return 0;
}
