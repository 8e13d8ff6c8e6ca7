// Where the preferences file is, and the buffer its path is converted in.
#include <cstring>

#include "options/options.h"
#include "options/preferences_file.h"

std::string PreferencesFilePath(const char *directory) { return std::string(directory) + "vorlix.ini"; }

bool CopyPreferencesPath(const char *path, char (&buffer)[KV_MAX_PATH]) {
  if (!path) return false;
  size_t length = std::strlen(path);
  if (length >= sizeof buffer) return false;
  std::memcpy(buffer, path, length + 1);
  return true;
}
