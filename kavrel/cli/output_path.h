// Where a conversion writes, and whether it can.
#ifndef KAVREL_CLI_OUTPUT_PATH_H
#define KAVREL_CLI_OUTPUT_PATH_H

#include <string>

namespace kavrel {

// The input's file name with its last extension replaced by ".glb", in the
// current directory: "models/chair.iv" -> "chair.glb".
std::string DefaultOutputPath(const std::string &input);

// True when path can be written: its directory exists and is writable and
// path itself is not a directory. Otherwise false with a message in *error.
bool CheckOutputWritable(const std::string &path, std::string *error);

}  // namespace kavrel

#endif
