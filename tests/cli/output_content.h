// What an output file holds, counted from the file itself for each format
// kavrel-convert writes, under the names of the command's summary line:
// nodes, meshes, triangles, materials, textures, lights, cameras, bytes,
// and lines and points when the file holds any.
#ifndef TESTS_CLI_OUTPUT_CONTENT_H
#define TESTS_CLI_OUTPUT_CONTENT_H

#include <string>

#include "convert_process.h"

namespace kavrel_test {

// The counts of the output at path, by its extension; an OBJ's bytes
// include its .mtl and the texture files it names.
Counts ContentCounts(const std::string &path);

}  // namespace kavrel_test

#endif
