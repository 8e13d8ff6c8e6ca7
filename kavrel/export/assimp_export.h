// The formats written from the scene as an assimp scene: OBJ (by our own
// writer, with its .mtl and the texture files copied beside it), and
// through assimp's exporters binary PLY and STL, COLLADA, 3MF, binary FBX
// and X3D.
#ifndef KAVREL_EXPORT_ASSIMP_EXPORT_H
#define KAVREL_EXPORT_ASSIMP_EXPORT_H

#include <string>

#include "kavrel/host.h"

namespace kavrel {

// Writes the host's scene in format, every file staged and renamed into
// place together; false with a message naming the file on failure.
bool ExportWithAssimp(const Host &host, const std::string &path, ExportFormat format, std::string *error,
                      ExportSummary *summary);

}  // namespace kavrel

#endif
