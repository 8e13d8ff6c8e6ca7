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
  browse.lpfn = SelectStart;
  browse.lParam = path->empty() ? 0 : reinterpret_cast<LPARAM>(path->c_str());
  // Each successful CoInitializeEx (S_OK, or S_FALSE when the host's thread
  // already has this model) is balanced by a CoUninitialize. A thread the
  // host put in the multithreaded model refuses it, and its COM must stay as
  // the host set it up: the browser then takes its older form, which does
  // not need a single-threaded apartment.
  const HRESULT joined = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  browse.ulFlags = BIF_RETURNONLYFSDIRS | (SUCCEEDED(joined) ? BIF_NEWDIALOGSTYLE : 0);
  PIDLIST_ABSOLUTE item = SHBrowseForFolderA(&browse);
  bool named = item != nullptr && SHGetPathFromIDListA(item, chosen);
  if (item != nullptr) CoTaskMemFree(item);
  if (SUCCEEDED(joined)) CoUninitialize();
  if (named) *path = chosen;
  return named;
}

}  // namespace kavrel
