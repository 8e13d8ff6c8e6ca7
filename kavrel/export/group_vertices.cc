#include "kavrel/export/group_vertices.h"

namespace kavrel {

void GroupVertices::Gather(const TriangleGroup &group, size_t vertex_count) {
  // Only the entries the last group set are reset: a mesh of many small
  // groups costs no more than its triangles.
  for (uint32_t v : used_) local_[v] = -1;
  if (local_.size() < vertex_count) local_.resize(vertex_count, -1);
  used_.clear();
  for (uint32_t v : group.indices) {
    if (local_[v] >= 0) continue;
    local_[v] = static_cast<int32_t>(used_.size());
    used_.push_back(v);
  }
}

}  // namespace kavrel
