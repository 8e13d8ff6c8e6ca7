// Wavefront OBJ of the export model, written by our own writer (assimp's
// exporter numbered vertices through ordered maps and formatted every
// number through a stream, which made OBJ the slowest format by far). The
// .obj names its material library, the .mtl beside it with the same stem,
// and the texture images are copied beside them. Every placement's mesh
// becomes groups named after the placement, in world space: for each of
// its triangle groups (the per-face surfaces' first, then the one drawn
// with the instance's surface) the vertices it uses, once per placement
// ("v" with the colour when any mesh has colours, "vt", "vn" through the
// placement's normal transform), then "usemtl" and its faces, "f v/vt/vn"
// numbered on from the lines of each kind written before it; then its line
// groups and its point groups the same way, with "v" lines only and "l a b"
// and "p a" lines. A mirroring placement has its faces reversed, so that
// fronts stay counter-clockwise in world space. Group and material names go out with white space and '#' replaced
// (OBJ splits names there and starts comments), materials numbered on
// where that makes two names equal.
#ifndef KAVREL_EXPORT_OBJ_WRITER_H
#define KAVREL_EXPORT_OBJ_WRITER_H

#include <string>
#include <vector>

#include "kavrel/export/export_model.h"
#include "kavrel/export/text_output.h"
#include "kavrel/export/texture_copies.h"
#include "kavrel/host.h"

namespace kavrel {

// Writes path, its .mtl and the texture copies, all renamed into place
// together; false with a message naming the file on failure.
bool ExportObj(const Host &host, const ExportModel &model, const std::string &path, std::string *error, ExportSummary *summary);

// name as one OBJ word: white space and '#' as '_', "" as "unnamed".
std::string ObjName(const std::string &name);

// What the .obj holds.
struct ObjCounts {
  size_t groups = 0;                           // one per placement and group of the mesh
  size_t triangles = 0;                        // of every group: "f" lines
  size_t lines = 0;                            // "l" lines of two vertices
  size_t points = 0;                           // "p" lines of one vertex
};

// The .obj's lines (obj_geometry.cc); material_names by model material.
ObjCounts WriteObjGeometry(const ExportModel &model, const std::vector<std::string> &material_names,
                           const std::string &library, TextOutput &out);

// Unique OBJ names of the model's materials, by index (obj_materials.cc).
std::vector<std::string> ObjMaterialNames(const ExportModel &model);
// The .mtl's lines: colours, opacity, shininess, diffuse texture.
void WriteMaterialLibrary(const ExportModel &model, const std::vector<std::string> &names,
                          const TextureCopies &textures, TextOutput &out);

}  // namespace kavrel

#endif
