// The plug-in's support directory: where it keeps its preferences file.
#ifndef KAVREL_CLI_SUPPORT_DIRECTORY_H
#define KAVREL_CLI_SUPPORT_DIRECTORY_H

#include <string>

namespace kavrel {

// $XDG_CONFIG_HOME/kavrel/inventor/, else ~/.config/kavrel/inventor/;
// on Windows %APPDATA%\kavrel\inventor\.
std::string DefaultSupportDirectory();

// Makes directory (and its parents) when missing and returns it ending
// with a separator, as the plug-in glues file names straight onto it. When it
// cannot be made, *error says why; the plug-in then runs on its defaults.
std::string PrepareSupportDirectory(const std::string &directory, std::string *error);

}  // namespace kavrel

#endif
