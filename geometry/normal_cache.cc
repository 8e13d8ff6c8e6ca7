// Releasing the normals Coin3D generated for a large vertex shape. Coin3D
// keeps them in a cache on the node until the node is destroyed, which for
// a shape read from a file is the end of the conversion; the shape's
// triangles are in the polygon buffer by then, and the host's welds of the
// mesh made of them are the run's peak of memory (a 700 x 700 grid's cache
// holds 35 MB). A node that is traversed again (used twice) has its
// normals generated anew, the same as before.
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/caches/SoNormalCache.h>
#include <Inventor/nodes/SoVertexShape.h>

#include "geometry/mesh_passes.h"

namespace {

// Below this many normals the cache stays: it is small, and a shape used
// many times keeps its normals.
constexpr int kReleasedNormals = 1 << 16;

// The cache calls are for subclasses; member pointers taken through one
// reach them for any vertex shape.
struct NormalCacheAccess : SoVertexShape {
  static void Release(SoVertexShape *shape, SoState *state) {
    SoNormalCache *(SoVertexShape::*get)() const = &NormalCacheAccess::getNormalCache;
    void (SoVertexShape::*set)(SoState *const, const int, const SbVec3f *) = &NormalCacheAccess::setNormalCache;
    const SoNormalCache *cache = (shape->*get)();
    if (!cache || cache->getNum() < kReleasedNormals) return;
    // An empty cache in its place, marked invalid so that the next
    // traversal generates the normals again.
    (shape->*set)(state, 0, nullptr);
    if (SoNormalCache *empty = (shape->*get)()) empty->invalidate();
  }
};

}  // namespace

void ReleaseNormalCache(SoCallbackAction *action, SoNode *node) {
  if (!node->isOfType(SoVertexShape::getClassTypeId())) return;
  NormalCacheAccess::Release(static_cast<SoVertexShape *>(node), action->getState());
}
