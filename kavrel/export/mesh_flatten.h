// A host mesh (polygons over four separately indexed streams) as glTF needs
// it: one index per vertex for all attributes, triangles only, counter-
// clockwise fronts, one triangle list per face surface.
#ifndef KAVREL_EXPORT_MESH_FLATTEN_H
#define KAVREL_EXPORT_MESH_FLATTEN_H

#include <cstdint>
#include <vector>

#include "kavrel/export/export_notes.h"
#include "kavrel/toolkit/scene.h"

namespace kavrel {

struct TriangleGroup {
  int32_t surface = kNone;                     // index into Mesh::surface_names; kNone: the instance's surface
  std::vector<uint32_t> indices;               // three vertices per triangle, counter-clockwise
};

struct FlatMesh {
  std::vector<float> positions;                // x, y, z per vertex
  std::vector<float> normals;                  // unit x, y, z per vertex; empty when the mesh has none
  std::vector<float> texcoords;                // u, v per vertex, v flipped to glTF's downward axis; empty when none
  std::vector<float> colors;                   // r, g, b per vertex in 0..1; empty when none
  std::vector<TriangleGroup> groups;           // groups with at least one triangle, by surface

  size_t vertex_count() const { return positions.size() / 3; }
  bool empty() const { return groups.empty(); }
};

// Unique vertices are the distinct tuples of per-corner stream indices,
// found by hashing in linear expected time. Polygons are fanned (the host's
// merged polygons are convex), and fan triangles with two corners on the
// same point are left out, whatever welding did before; bad data is
// repaired and counted in notes. A mesh known to pass CheckMesh (trusted)
// skips the per-polygon index checks.
FlatMesh FlattenMesh(const Mesh &mesh, ExportNotes &notes, bool trusted);

}  // namespace kavrel

#endif
