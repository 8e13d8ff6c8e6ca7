// The vertices one triangle group of a flat mesh uses, numbered in order
// of first use: for writers that store each group's vertices on their own
// (OBJ's groups, VRML's IndexedFaceSets), so that no group carries the
// vertices of the others.
#ifndef KAVREL_EXPORT_GROUP_VERTICES_H
#define KAVREL_EXPORT_GROUP_VERTICES_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "kavrel/export/export_model.h"

namespace kavrel {

class GroupVertices {
 public:
  // Numbers the vertices of group, a group of a mesh of vertex_count
  // vertices; forgets the group numbered before.
  void Gather(const TriangleGroup &group, size_t vertex_count);

  // The mesh's vertices the group uses, by their number in the group.
  const std::vector<uint32_t> &used() const { return used_; }
  // The number in the group of a mesh vertex the group uses.
  uint32_t Local(uint32_t vertex) const { return static_cast<uint32_t>(local_[vertex]); }

 private:
  std::vector<uint32_t> used_;
  std::vector<int32_t> local_;                 // by mesh vertex: its number in the group, -1 when unused
};

}  // namespace kavrel

#endif
