// VRML97 (.wrl, "#VRML V2.0 utf8") and X3D (.x3d, its XML encoding) of the
// export model, written by our own writer: one traversal of the scene
// (vrml_scene.cc, vrml_nodes.cc, vrml_lights.cc) tells an encoding what to
// write node by node and field by field, and the two encodings
// (vrml_classic.cc, x3d_encoding.cc) only spell it. The file holds:
// - the lights that are on, then the cameras as Viewpoints, then the
//   placements as nested Transforms named after their instances (DEF names
//   made valid and unique), a hidden placement inside a Switch that shows
//   none of its choices;
// - each placed mesh as one Shape per triangle group: an IndexedFaceSet
//   of the vertices the group uses (coordinates, normals, texture
//   coordinates and colours, all indexed by coordIndex), its Appearance
//   with a Material and an ImageTexture naming a copy of the image beside
//   the file;
// - DEF/USE for what repeats: a Shape placed again is USEd, a group drawn
//   with another instance surface USEs its geometry, and Materials and
//   ImageTextures are written once each.
// kavrel/export/README.md says how each value is mapped.
#ifndef KAVREL_EXPORT_VRML_WRITER_H
#define KAVREL_EXPORT_VRML_WRITER_H

#include <string>

#include "kavrel/export/export_model.h"
#include "kavrel/export/export_notes.h"
#include "kavrel/host.h"

namespace kavrel {

enum class VrmlFlavour {
  kVrml97,                                     // the classic text encoding of VRML97
  kX3d,                                        // X3D 3.3's XML encoding
};

// Writes path and the texture copies beside it (read under the host's
// texture roots), all renamed into place together; false with a message naming the file on failure. Values moved
// into range (light intensities, angles) are counted in *repairs.
bool ExportVrml(const Host &host, const ExportModel &model, const std::string &path, VrmlFlavour flavour,
                std::string *error, ExportSummary *summary, ExportNotes *repairs);

}  // namespace kavrel

#endif
