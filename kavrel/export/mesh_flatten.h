// A host mesh (polygons over four separately indexed streams) as the
// writers need it (FlatMesh): one index per vertex for all attributes,
// faces as triangles with counter-clockwise fronts, one triangle list per
// face surface, and a segment and a point list per face surface for the
// polygons of two corners and of one.
#ifndef KAVREL_EXPORT_MESH_FLATTEN_H
#define KAVREL_EXPORT_MESH_FLATTEN_H

#include <cstdint>
#include <vector>

#include "kavrel/export/export_model.h"
#include "kavrel/export/export_notes.h"
#include "kavrel/toolkit/scene.h"

namespace kavrel {

// Unique vertices are the distinct tuples of per-corner stream indices,
// found by hashing in linear expected time. Polygons are fanned (the host's
// merged polygons are convex), and fan triangles with two corners on the
// same point are left out, whatever welding did before, and so are
// segments with both ends on one point and primitives that repeat
// another's vertices (see DropRepeatedPrimitives); bad data is repaired and
// counted in notes. A mesh known to pass CheckMesh (trusted)
// skips the per-polygon index checks.
FlatMesh FlattenMesh(const Mesh &mesh, ExportNotes &notes, bool trusted);

}  // namespace kavrel

#endif
