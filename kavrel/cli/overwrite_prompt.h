// The host's answer when the plug-in would overwrite an existing file (an
// extracted texture) with "confirm overwrites" on.
#ifndef KAVREL_CLI_OVERWRITE_PROMPT_H
#define KAVREL_CLI_OVERWRITE_PROMPT_H

#include <functional>
#include <string>

namespace kavrel {

// The host's overwrite confirmer: with overwrite (--overwrite) every file
// may be replaced. Otherwise files inside own_directory (the command's
// texture directory, "" for none) may be, since they are the output of an
// earlier run; for any other file the user is asked when standard input
// and error are a terminal, and without one the file is kept with a notice
// that says so.
std::function<bool(const std::string &path)> OverwritePrompt(bool overwrite, const std::string &own_directory);

}  // namespace kavrel

#endif
