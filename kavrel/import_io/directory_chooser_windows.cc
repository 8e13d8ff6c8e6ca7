#include "kavrel/import_io/directory_chooser.h"

#include <shlobj.h>

namespace kavrel {

namespace {

// Opens the browser at the directory given before.
int CALLBACK SelectStart(HWND browser, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED && start != 0) SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, start);
  return 0;
}

}  // namespace

bool ChooseDirectory(HWND dialog, const char *, const char *prompt, std::string *path) {
  char chosen[MAX_PATH] = "";
  BROWSEINFOA browse = {};
  browse.hwndOwner = dialog;
  browse.pszDisplayName = chosen;
  browse.lpszTitle = prompt;
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  browse.lpfn = SelectStart;
  browse.lParam = path->empty() ? 0 : reinterpret_cast<LPARAM>(path->c_str());
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  PIDLIST_ABSOLUTE item = SHBrowseForFolderA(&browse);
  bool named = item != nullptr && SHGetPathFromIDListA(item, chosen);
  if (item != nullptr) CoTaskMemFree(item);
  CoUninitialize();
  if (named) *path = chosen;
  return named;
}

}  // namespace kavrel
