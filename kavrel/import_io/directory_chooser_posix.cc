#include "kavrel/import_io/directory_chooser.h"

#include "win32/dialog_driver.h"

namespace kavrel {

bool ChooseDirectory(HWND dialog, const char *title, const char *prompt, std::string *path) {
  return win32::PromptForText(dialog, title, prompt, path);
}

}  // namespace kavrel
