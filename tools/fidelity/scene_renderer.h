// Coin3D's own GL rendering of a scene into the canvas, as a viewer shows
// it: the given camera, one headlight along its view, a key background.
#ifndef KAVREL_TOOLS_FIDELITY_SCENE_RENDERER_H
#define KAVREL_TOOLS_FIDELITY_SCENE_RENDERER_H

#include <memory>

#include <Inventor/actions/SoGLRenderAction.h>
#include <Inventor/nodes/SoPerspectiveCamera.h>

#include "tools/fidelity/glx_canvas.h"

namespace kavrel::fidelity {

class SceneRenderer {
 public:
  SceneRenderer(const GlxCanvas &canvas, Rgb background);
  RgbImage Render(SoNode *scene, SoPerspectiveCamera *camera);
  SbViewportRegion viewport() const { return action_.getViewportRegion(); }

 private:
  const GlxCanvas &canvas_;
  Rgb background_;
  SoGLRenderAction action_;
};

}  // namespace kavrel::fidelity

#endif
