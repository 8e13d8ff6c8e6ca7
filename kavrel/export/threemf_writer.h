// 3MF of the export model, written through lib3mf, the 3MF Consortium's
// own library. One millimetre per scene unit (Inventor's units have no
// size; slicers read our STL and OBJ the same way), turned from the
// scene's Y up to 3MF's Z up (x, y, z -> x, -z, y: the model stands on
// the build plate as it stands in a glTF viewer).
//
// - A base-materials group holds every material of the model: its name
//   (the distinct one), its diffuse colour and its opacity as alpha.
// - A mesh object per model mesh and instance material, in the mesh's
//   own coordinates, placed by a build item per placement whose world
//   matrix keeps orientation, with that matrix (affine, 3x4) as its
//   transform. A placement whose world matrix mirrors (or collapses) gets
//   a mesh object of its own in world space instead, its triangles
//   reversed where it mirrors, so that fronts stay outside without
//   relying on how a reader treats a mirroring transform. Each build
//   item's part number is the placement's name.
// - Vertices are the mesh's distinct positions (3MF has no normals or
//   texture coordinates), so that a closed mesh is a closed, manifold
//   surface in the file.
// - Triangles take their group's base material; a mesh with vertex
//   colours has a colour group instead, one colour per corner: the vertex
//   colour times the group's diffuse colour, with its opacity (as glTF
//   draws it). Each object's default property is its first triangle's.
// - Object and build UUIDs are made from the model's content, so that the
//   same scene gives the same file.
// Textures, lights, cameras, line segments and points have no place in
// 3MF's core and are left out; a placement of a mesh of lines or points
// alone gets no object and no build item.
#ifndef KAVREL_EXPORT_THREEMF_WRITER_H
#define KAVREL_EXPORT_THREEMF_WRITER_H

#include <string>

#include "kavrel/export/export_model.h"
#include "kavrel/host.h"

namespace kavrel {

// Writes path through a staged file renamed into place (abandoned at the
// host's stop request); false with a message naming the file on failure
// (also in a build without lib3mf).
bool ExportThreeMf(const Host &host, const ExportModel &model, const std::string &path, std::string *error,
                   ExportSummary *summary);

}  // namespace kavrel

#endif
