// The directory chooser behind Import_IO_GetWindowsOutputDirectory.
#ifndef KAVREL_IMPORT_IO_DIRECTORY_CHOOSER_H
#define KAVREL_IMPORT_IO_DIRECTORY_CHOOSER_H

#include <string>

#include "host/platform_types.h"

namespace kavrel {

// Lets the user name a directory, starting from *path, in a box owned by
// dialog; false when the user gives up. On Windows the shell's folder
// browser (prompt above the tree), elsewhere a text prompt over the
// in-memory dialogs.
bool ChooseDirectory(HWND dialog, const char *title, const char *prompt, std::string *path);

}  // namespace kavrel

#endif
