// Wavefront OBJ of an assimp scene, written by us rather than by assimp's
// exporter (whose index maps and stream formatting made OBJ the slowest
// format by far). The .obj names its material library, the .mtl beside it
// with the same stem. Every placed mesh becomes a group named after its
// node, in world space: its vertices once per placement ("v" with the
// colour when any mesh has colours, "vt", "vn" through the placement's
// inverse transpose), then "usemtl" and its faces, "f v/vt/vn" numbered on
// from the vertices written before it. A mirroring placement has its faces
// reversed, so that fronts stay counter-clockwise in world space. Group and
// material names go out with white space and '#' replaced (OBJ splits names
// there and starts comments), materials numbered on where that makes two
// names equal.
#ifndef KAVREL_EXPORT_OBJ_WRITER_H
#define KAVREL_EXPORT_OBJ_WRITER_H

#include <string>
#include <vector>

#include <assimp/scene.h>

#include "kavrel/export/staged_files.h"
#include "kavrel/export/text_output.h"

namespace kavrel {

// Writes path and its .mtl into files; failures are recorded there.
void WriteObj(const aiScene &scene, const std::string &path, StagedFiles &files);

// name as one OBJ word: white space and '#' as '_', "" as "unnamed".
std::string ObjName(const std::string &name);

// The .obj's lines (obj_geometry.cc); material_names by material index.
void WriteObjGeometry(const aiScene &scene, const std::vector<std::string> &material_names,
                      const std::string &library, TextOutput &out);

// Unique OBJ names of the scene's materials, by index (obj_materials.cc).
std::vector<std::string> ObjMaterialNames(const aiScene &scene);
// The .mtl's lines: colours, opacity, shininess, diffuse texture.
void WriteMaterialLibrary(const aiScene &scene, const std::vector<std::string> &names, TextOutput &out);

}  // namespace kavrel

#endif
