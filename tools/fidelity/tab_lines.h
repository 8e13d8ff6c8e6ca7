// The fidelity tools take their work as lines of tab-separated fields, so
// that paths may hold spaces, from a file or from standard input ("-").
#ifndef KAVREL_TOOLS_FIDELITY_TAB_LINES_H
#define KAVREL_TOOLS_FIDELITY_TAB_LINES_H

#include <functional>
#include <string>
#include <vector>

namespace kavrel::fidelity {

std::vector<std::string> SplitTabs(const std::string &line);

// Calls `each` with the fields of every line that is neither empty nor a
// comment (#); false with a message when the file cannot be read.
bool ForEachTabLine(const std::string &path, const std::function<void(const std::vector<std::string> &)> &each,
                    std::string *error);

// A program's run over a list: `each` handles one line's fields and says
// whether it went well. 0 when every line did, 1 otherwise; a list that
// cannot be read is reported on standard error under `program`'s name.
int RunEachLine(const std::string &program, const std::string &path,
                const std::function<bool(const std::vector<std::string> &)> &each);

}  // namespace kavrel::fidelity

#endif
