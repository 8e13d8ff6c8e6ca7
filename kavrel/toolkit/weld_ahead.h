// Welds worked out ahead. The plug-in welds an object's positions, normals
// and texture coordinates in calls one after the other, usually with one
// threshold, while the second core waits. So when the positions of a large
// mesh are welded, the other streams' welds with the same threshold are
// worked out beside them, and a following call that asks for one of them
// (same mesh, stream and threshold, nothing else called in between) has it
// applied at once. Welds are kept only when welding the positions dropped
// no corner (which would change the corners the other streams see), so the
// mesh always ends as if each weld had been done in its own call.
#ifndef KAVREL_TOOLKIT_WELD_AHEAD_H
#define KAVREL_TOOLKIT_WELD_AHEAD_H

#include <vector>

#include "kavrel/mesh/mesh_ops.h"

namespace kavrel {

class WeldAhead {
 public:
  // "combine" of one stream of mesh.
  void Combine(Mesh &mesh, MeshStream stream, float threshold);
  // Drops what was worked out: the mesh may change in other ways now.
  void Forget() {
    mesh_ = nullptr;
    ahead_.clear();
  }
  bool Holding() const { return mesh_ != nullptr; }

 private:
  struct Ahead {
    MeshStream stream;
    float threshold;
    StreamWeld weld;
  };

  void CombinePositions(Mesh &mesh, float threshold);

  const Mesh *mesh_ = nullptr;
  std::vector<Ahead> ahead_;
};

}  // namespace kavrel

#endif
