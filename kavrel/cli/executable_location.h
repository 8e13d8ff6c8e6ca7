// Where the running kavrel-convert lives, so that it finds what was
// installed beside it (the plug-in, the example) and can start itself again.
#ifndef KAVREL_CLI_EXECUTABLE_LOCATION_H
#define KAVREL_CLI_EXECUTABLE_LOCATION_H

#include <string>

namespace kavrel {

// The executable's absolute path; "" when the system will not tell.
std::string ExecutablePath();
// Its directory, without a trailing separator; "" when unknown.
std::string ExecutableDirectory();

}  // namespace kavrel

#endif
