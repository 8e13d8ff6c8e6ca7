// Options the fidelity programs share, checked and parsed by CLI11.
#ifndef KAVREL_TOOLS_FIDELITY_PROGRAM_OPTIONS_H
#define KAVREL_TOOLS_FIDELITY_PROGRAM_OPTIONS_H

#include <string>

#include <CLI/CLI.hpp>

#include "tools/fidelity/rgb_image.h"

namespace kavrel::fidelity {

// An R,G,B colour; `colour` keeps its value as the default when the option is not given.
CLI::Option *AddColourOption(CLI::App &app, const std::string &name, Rgb *colour, const std::string &what);

// A file of work lines ("-" for standard input) taken instead of the work
// given by the positional arguments `positionals`.
CLI::Option *AddListOption(CLI::App &app, const std::string &name, std::string *path, const std::string &what,
                           const std::string &positionals);

}  // namespace kavrel::fidelity

#endif
