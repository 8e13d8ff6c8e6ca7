// ProcessShape: the abort poll in front of each pass over a shape.
#include "geometry/mesh_passes.h"
#include "host/import_io.h"
#include "state/state.h"

namespace {

// A finish pass stopped by the abort poll would leave the buffer allocated
// and the accumulator set for the next shape's begin pass.
void DropUnfinishedShape() {
  if (plugin.state->shape.polygons) Import_IO_Free_Indexedpolygons();
  ResetShapeState();
}

}  // namespace

int ProcessShape(ShapePass pass, SoCallbackAction *action, SoNode *node) {
  if (CheckForAbort_Inventor() == 1) {
    if (pass == ShapePass::kFinish) DropUnfinishedShape();
    return 0;
  }
  return pass == ShapePass::kBegin ? BeginShapePass(action, node) : FinishShapePass(action, node);
}
