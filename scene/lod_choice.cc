// Steers which child of a level-of-detail node Coin3D traverses.
#include <Inventor/SbViewVolume.h>
#include <Inventor/elements/SoModelMatrixElement.h>
#include <Inventor/elements/SoViewVolumeElement.h>
#include <Inventor/nodes/SoLOD.h>

#include "host/import_io.h"
#include "scene/group_hierarchy.h"
#include "state/state.h"

namespace {

// 1-based child to import, from lod_source: 0 first, 2 nthlod, else last.
int ChosenChild(int children) {
  const ImportOptions &options = plugin.state->options;
  if (options.lod_source == 0) return 1;
  if (options.lod_source == 2) {
    if (options.nthlod >= 1 && options.nthlod <= children) return options.nthlod;
    Import_IO_Report_Error(1, "Invalid LOD child node choice, defaulting to first child node in LOD.");
    return 1;
  }
  return children > 0 ? children : 1;
}

// Distance from the viewer to the LOD centre, as Coin3D's own choice measures it.
float ViewerDistance(SoCallbackAction *action, SoLOD *node) {
  SoState *traversal = action->getState();
  node->center.evaluate();
  SbVec3f center;
  SoModelMatrixElement::get(traversal).multVecMatrix(node->center.getValue(), center);
  const SbViewVolume &view = SoViewVolumeElement::get(traversal);
  return (view.getProjectionPoint() - center).length();
}

}  // namespace

// Rewrites range so that the first value above the distance is value k - 1,
// which makes Coin3D pick child k. The file's ranges are not restored.
void ChooseLODChild(SoCallbackAction *action, SoLOD *node) {
  const double distance = ViewerDistance(action, node);
  const int k = ChosenChild(node->getNumChildren());
  node->range.deleteValues(0, -1);
  node->range.setNum(k);
  for (int j = k - 1; j >= 0; --j) {
    node->range.set1Value(j, static_cast<float>(distance + 0.01 * (j - k + 2)));
  }
}
