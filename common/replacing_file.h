// Output files written beside their target and moved over it once
// complete, so that no reader ever sees half a file. Both halves write
// files this way (the plug-in its preferences, the host its exports and
// images); a small library of its own, one source file per platform.
#ifndef COMMON_REPLACING_FILE_H
#define COMMON_REPLACING_FILE_H

#include <string>

namespace common {

// Creates a new file named *pattern with its trailing "XXXXXX" replaced
// (the name is written back), open for binary writing and, once closed,
// readable by everyone like any other output; its descriptor, or -1 with
// errno set.
int CreateFileBeside(std::string *pattern);

// Hands what the system still buffers for fd to the disk, so that a full
// disk shows up before the target is replaced; false with errno set.
bool FlushToDisk(int fd);

// Moves the file from over the file to, which may exist; false with errno set.
bool MoveOverTarget(const std::string &from, const std::string &to);

}  // namespace common

#endif
