#include "tests/nurbs/nurbs_scene.h"

#include <gtest/gtest.h>

#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/nodes/SoIndexedNurbsSurface.h>
#include <Inventor/nodes/SoNurbsSurface.h>
#include <Inventor/nodes/SoSeparator.h>

#include "geometry/nurbs/nurbs.h"

namespace {

SoCallbackAction::Response SurfacePre(void *data, SoCallbackAction *action, const SoNode *node) {
  auto *results = static_cast<std::vector<SurfaceResult> *>(data);
  SurfaceResult result;
  SbString reason, warning;
  result.ok = TessellateNurbsSurface(action, node, result.corners, reason, &warning);
  result.reason = reason.getString();
  result.warning = warning.getString();
  results->push_back(std::move(result));
  return SoCallbackAction::CONTINUE;
}

}  // namespace

std::vector<SurfaceResult> TessellateScene(const std::string &text, const std::function<void(SoSeparator *)> &edit) {
  SoDB::init();
  const std::string file = "#Inventor V2.1 ascii\n" + text;
  SoInput input;
  input.setBuffer(file.data(), file.size());
  SoSeparator *root = SoDB::readAll(&input);
  std::vector<SurfaceResult> results;
  if (!root) {
    ADD_FAILURE() << "scene does not read:\n" << text;
    return results;
  }
  root->ref();
  if (edit) edit(root);
  SoCallbackAction action;
  action.addPreCallback(SoNurbsSurface::getClassTypeId(), SurfacePre, &results);
  action.addPreCallback(SoIndexedNurbsSurface::getClassTypeId(), SurfacePre, &results);
  action.apply(root);
  root->unref();
  return results;
}

SurfaceResult TessellateOne(const std::string &text, const std::function<void(SoSeparator *)> &edit) {
  std::vector<SurfaceResult> results = TessellateScene(text, edit);
  if (results.size() != 1) {
    ADD_FAILURE() << "expected one surface, got " << results.size();
    return {};
  }
  return results.front();
}

double PlanarArea(const std::vector<SoPrimitiveVertex> &corners) {
  double area = 0.0;
  for (size_t k = 0; k + 2 < corners.size(); k += 3) {
    const SbVec3f a = corners[k].getPoint(), b = corners[k + 1].getPoint(), c = corners[k + 2].getPoint();
    area += 0.5 * ((b[0] - a[0]) * (c[1] - a[1]) - (c[0] - a[0]) * (b[1] - a[1]));
  }
  return area;
}

SbVec2f Tex(const SoPrimitiveVertex &corner) {
  return SbVec2f(corner.getTextureCoords()[0], corner.getTextureCoords()[1]);
}
