// Where the running program's file is.
#ifndef KAVREL_CLI_EXECUTABLE_PATH_H
#define KAVREL_CLI_EXECUTABLE_PATH_H

#include <string>

namespace kavrel {

// The folder of the running executable, without a trailing separator; ""
// when the system does not say.
std::string ExecutableDirectory();

}  // namespace kavrel

#endif
