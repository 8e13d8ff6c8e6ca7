// DialogBoxParamA and EndDialog over the in-memory dialogs. Templates come
// from the resource script that the module handle points at.
#include <cstdio>
#include <map>
#include <memory>

#include "win32/dialog_runtime.h"

namespace win32 {
namespace {

// Parsed once per module: the script text is a constant of the module.
const ResourceScript *ScriptOf(const Win32ModuleResources *module) {
  static std::map<const char *, std::unique_ptr<ResourceScript>> parsed;
  const char *text = module->resource_script;
  auto it = parsed.find(text);
  if (it != parsed.end()) return it->second.get();
  auto script = std::make_unique<ResourceScript>();
  std::string error;
  if (!ParseResourceScript(text, script.get(), &error)) {
    std::fprintf(stderr, "win32: the module's resource script cannot be read: %s\n", error.c_str());
    script.reset();
  }
  return (parsed[text] = std::move(script)).get();
}

std::string TemplateKey(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(LOWORD(name));
  return name;
}

}  // namespace
}  // namespace win32

using namespace win32;

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR template_name, HWND owner, DLGPROC procedure,
                               LPARAM init_param) {
  auto *module = reinterpret_cast<const Win32ModuleResources *>(instance);
  if (!module || !module->resource_script || !template_name) return -1;
  const ResourceScript *script = ScriptOf(module);
  const DialogTemplate *tmpl = script ? FindDialogTemplate(*script, TemplateKey(template_name)) : nullptr;
  if (!tmpl) return -1;
  std::unique_ptr<Dialog> dialog = BuildDialog(*tmpl);
  dialog->owner = owner;
  dialog->procedure = procedure;
  return RunModal(dialog.get(), init_param);
}

BOOL WINAPI EndDialog(HWND handle, INT_PTR result) {
  Dialog *dialog = DialogOf(handle);
  if (!dialog) return FALSE;
  dialog->ended = true;
  dialog->result = result;
  return TRUE;
}
