// The example converted when kavrel-convert runs without arguments.
#ifndef KAVREL_CLI_BUNDLED_EXAMPLE_H
#define KAVREL_CLI_BUNDLED_EXAMPLE_H

#include <string>

namespace kavrel {

// examples/showcase.iv of the source tree this command was built from,
// else of an installed tree beside the executable; "" when neither exists.
std::string FindBundledExample();

}  // namespace kavrel

#endif
