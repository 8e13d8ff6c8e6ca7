#include "kavrel/cli/console_stream.h"

#include <unistd.h>

namespace kavrel {

bool IsConsole(int fd) { return isatty(fd) == 1; }

}  // namespace kavrel
