#include "options/preferences_platform.h"

#include <fcntl.h>
#include <locale.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

const char kPreferencesLineEnd[] = "\n";

double ReadNumberInCLocale(const char *text) {
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", locale_t{});
  if (c_locale == locale_t{}) return strtod(text, nullptr);  // out of memory: the process locale
  return strtod_l(text, nullptr, c_locale);
}

bool RefusesOpenForWriting(const char *path) {
  // Non-blocking, so that a FIFO without a reader answers at once.
  const int fd = open(path, O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0) {
    close(fd);
    return false;
  }
  return errno != ENOENT;
}
