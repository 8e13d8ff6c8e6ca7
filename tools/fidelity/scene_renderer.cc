#include "tools/fidelity/scene_renderer.h"

#include <GL/gl.h>

#include <Inventor/elements/SoGLCacheContextElement.h>
#include <Inventor/nodes/SoDirectionalLight.h>
#include <Inventor/nodes/SoSeparator.h>

#include "tools/fidelity/coin_scene.h"

namespace kavrel::fidelity {

SceneRenderer::SceneRenderer(const GlxCanvas &canvas, Rgb background)
    : canvas_(canvas), background_(background), action_(SbViewportRegion(canvas.width(), canvas.height())) {
  // Coin3D keys its display lists and textures by this number, which must
  // stand for the GL context they live in: the canvas has one for the run.
  action_.setCacheContext(SoGLCacheContextElement::getUniqueCacheContext());
  // Transparent objects after the opaque ones, farthest first, as glTF
  // viewers draw them.
  action_.setTransparencyType(SoGLRenderAction::SORTED_OBJECT_BLEND);
}

RgbImage SceneRenderer::Render(SoNode *scene, SoPerspectiveCamera *camera) {
  auto *root = new SoSeparator;
  root->ref();
  NodeRef hold(root);
  auto *headlight = new SoDirectionalLight;
  SbVec3f direction;
  camera->orientation.getValue().multVec(SbVec3f(0, 0, -1), direction);
  headlight->direction = direction;
  root->addChild(camera);
  root->addChild(headlight);
  root->addChild(scene);

  glViewport(0, 0, canvas_.width(), canvas_.height());
  glClearColor(background_.r / 255.0f, background_.g / 255.0f, background_.b / 255.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  action_.apply(root);
  return canvas_.ReadBackBuffer();
}

}  // namespace kavrel::fidelity
