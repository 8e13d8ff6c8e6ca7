#include "options/preferences_platform.h"

#include <fcntl.h>
#include <io.h>
#include <locale.h>
#include <stdlib.h>
#include <windows.h>

#include <cerrno>

// The preferences file is a text file: Windows programs expect CRLF.
const char kPreferencesLineEnd[] = "\r\n";

double ReadNumberInCLocale(const char *text) {
  static const _locale_t c_locale = _create_locale(LC_NUMERIC, "C");
  if (c_locale == nullptr) return strtod(text, nullptr);  // out of memory: the process locale
  return _strtod_l(text, nullptr, c_locale);
}

bool RefusesOpenForWriting(const char *path) {
  // The read-only attribute refuses writing to everyone, administrators
  // included (Wine run as root would open the file all the same).
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    return true;
  }
  const int fd = _open(path, _O_WRONLY | _O_BINARY);
  if (fd >= 0) {
    _close(fd);
    return false;
  }
  return errno != ENOENT;
}
