// Where a conversion writes, and whether it can.
#ifndef KAVREL_CLI_OUTPUT_PATH_H
#define KAVREL_CLI_OUTPUT_PATH_H

#include <string>
#include <vector>

namespace kavrel {

// The input's file name with its last extension replaced by ".glb", in the
// current directory: "models/chair.iv" -> "chair.glb".
std::string DefaultOutputPath(const std::string &input);

// True when path can be written: its directory exists and is writable and
// path itself is not a directory. Otherwise false with a message in *error.
bool CheckOutputWritable(const std::string &path, std::string *error);

// True when an existing file at path may be replaced: it is none of the
// inputs (compared by device and inode, so other names of the same file
// count), and it is writable unless overwrite (--overwrite) says so.
// Otherwise false with a message in *error.
bool CheckOutputReplaceable(const std::string &path, const std::vector<std::string> &inputs, bool overwrite,
                            std::string *error);

}  // namespace kavrel

#endif
