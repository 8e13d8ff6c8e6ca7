// A dialog template as the resource compiler stored it in a module: read
// back from the compiled resource (DLGTEMPLATE or DLGTEMPLATEEX), so a test
// sees exactly what Windows builds the dialog from.
#ifndef TESTS_WINDOWS_DIALOG_TEMPLATE_H
#define TESTS_WINDOWS_DIALOG_TEMPLATE_H

#include <windows.h>

#include <string>
#include <vector>

namespace windows_test {

struct CompiledControl {
  int id;
  std::string window_class;  // "Button", "Edit", "Static", "ComboBox" ... for the predefined classes
  DWORD style;
  std::string text;          // as stored: "&&" and "&" mnemonics included
  int x, y, width, height;   // dialog units
};

struct CompiledDialog {
  DWORD style;
  std::string caption;
  std::string font;          // empty without DS_SETFONT
  int point_size;
  int x, y, width, height;   // dialog units
  std::vector<CompiledControl> controls;  // in template order
};

// Reads the template name of module; false, with the reason in *error,
// when there is none or it is cut short.
bool ReadCompiledDialog(HMODULE module, const char *name, CompiledDialog *dialog, std::string *error);

}  // namespace windows_test

#endif
