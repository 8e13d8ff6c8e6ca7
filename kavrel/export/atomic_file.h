// Writing an export so that the target is either the complete new file or
// untouched: the bytes go to a temporary file in the target's directory,
// which is then renamed over the target.
#ifndef KAVREL_EXPORT_ATOMIC_FILE_H
#define KAVREL_EXPORT_ATOMIC_FILE_H

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kavrel {

// The file's bytes as blocks written one after the other.
using ByteSpans = std::vector<std::pair<const void *, size_t>>;

// False with a message naming the path and the system's reason; no
// temporary file is left behind. stop_requested is asked between blocks
// and once more before the rename: a stop abandons the file (EINTR).
bool WriteFileAtomically(const std::string &path, const ByteSpans &spans,
                         const std::function<bool()> &stop_requested, std::string *error);

}  // namespace kavrel

#endif
