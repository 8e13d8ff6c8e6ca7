// The example converted when kavrel-convert runs without arguments.
#ifndef KAVREL_CLI_BUNDLED_EXAMPLE_H
#define KAVREL_CLI_BUNDLED_EXAMPLE_H

#include <string>

namespace kavrel {

// examples/showcase.iv of the installed tree the executable belongs to,
// else of the source tree it was built from; "" when neither exists.
std::string FindBundledExample();

}  // namespace kavrel

#endif
