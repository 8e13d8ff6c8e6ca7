// Reads one file with Coin3D, traverses it with the registered callbacks and
// finishes and releases the run.
#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/nodes/SoDirectionalLight.h>
#include <Inventor/nodes/SoEnvironment.h>
#include <Inventor/nodes/SoGroup.h>
#include <Inventor/nodes/SoMaterial.h>
#include <Inventor/nodes/SoOrthographicCamera.h>
#include <Inventor/nodes/SoPerspectiveCamera.h>
#include <Inventor/nodes/SoPointLight.h>
#include <Inventor/nodes/SoSeparator.h>
#include <Inventor/nodes/SoShape.h>
#include <Inventor/nodes/SoSpotLight.h>
#include <Inventor/nodes/SoTexture2.h>
#include <Inventor/nodes/SoText3.h>
#include <Inventor/nodes/SoVertexShape.h>

#include <memory>

#include "geometry/geometry.h"
#include "host/import_io.h"
#include "lights/lights.h"
#include "materials/materials.h"
#include "scene/group_hierarchy.h"
#include "scene/guarded_input.h"
#include "scene/input_limits.h"
#include "scene/scene.h"
#include "scene/scene_finish.h"
#include "state/state.h"

namespace {

// Drops the scene graph when the driver returns, aborts included.
struct SceneGraphRef {
  void operator()(SoSeparator *root) const { root->unref(); }
};
using SceneGraph = std::unique_ptr<SoSeparator, SceneGraphRef>;

// Welding any attribute needs the vertices welded.
void FixUpWelding(ImportOptions &options) {
  if (options.forceWeldVertices == 0 &&
      (options.forceWeldNormals || options.forceWeldTexCoords || options.forceWeldVertexColors)) {
    options.forceWeldVertices = 1;
  }
}

SoCallbackAction::Response inventorCB_EnvironmentPre(void *, SoCallbackAction *, const SoNode *) {
  // The environment reaches the lights through the traversal state only.
  return SoCallbackAction::CONTINUE;
}

// Coin3D runs the callbacks of one node in registration order: the
// vertex-shape pre-callback before the shape pre-callback, the shape
// post-callback before the vertex-shape post-callback.
void RegisterCallbacks(SoCallbackAction &action, const ImportOptions &options) {
  action.addPreCallback(SoGroup::getClassTypeId(), inventorCB_GroupPre, nullptr);
  action.addPostCallback(SoGroup::getClassTypeId(), inventorCB_GroupPost, nullptr);
  action.addPreCallback(SoVertexShape::getClassTypeId(), inventorCB_VertexShapePre, nullptr);
  action.addPreCallback(SoText3::getClassTypeId(), inventorCB_Text3Pre, nullptr);
  action.addPreCallback(SoShape::getClassTypeId(), inventorCB_ShapePre, nullptr);
  action.addPostCallback(SoShape::getClassTypeId(), inventorCB_ShapePost, nullptr);
  action.addPostCallback(SoText3::getClassTypeId(), inventorCB_Text3Post, nullptr);
  action.addPostCallback(SoVertexShape::getClassTypeId(), inventorCB_VertexShapePost, nullptr);
  RegisterTriangleCallbacks(&action);
  action.addPreCallback(SoMaterial::getClassTypeId(), inventorCB_MaterialPre, nullptr);
  action.addPreCallback(SoEnvironment::getClassTypeId(), inventorCB_EnvironmentPre, nullptr);
  if (options.import_lights == 1) {
    action.addPreCallback(SoDirectionalLight::getClassTypeId(), inventorCB_DirectionalLight, nullptr);
    action.addPreCallback(SoSpotLight::getClassTypeId(), inventorCB_SpotLight, nullptr);
    action.addPreCallback(SoPointLight::getClassTypeId(), inventorCB_PointLight, nullptr);
  }
  if (options.import_cameras == 1) {
    action.addPreCallback(SoPerspectiveCamera::getClassTypeId(), inventorCB_Camera, nullptr);
    action.addPreCallback(SoOrthographicCamera::getClassTypeId(), inventorCB_Camera, nullptr);
  }
  action.addPreCallback(SoTexture2::getClassTypeId(), inventorCB_Texture2Pre, nullptr);
}

// Coin3D's reader gave nothing: say why when the file is VRML 2.0, or when
// it cannot even be reopened; otherwise Coin3D's own read errors stand.
void ReportUnreadableFile(const char *path) {
  char header[kVrml2HeaderLength];
  if (!ReadFileHeader(path, header)) {
    Import_IO_Report_Error(1, "Not a valid Inventor or VRML1.0 file.");
    return;
  }
  if (IsVrml2Header(header)) {
    Import_IO_printf(
        "Warning: File '%s' is in VRML2.0 format, not VRML 1.0 or Inventor2.x format. Please use the VRML2.0 "
        "importer instead. Aborting import.\n\n",
        path);
  }
}

SceneGraph ReadSceneGraph(GuardedInput &input, const char *path) {
  RefuseUnreadableInput(path);
  if (!input.openFile(path, FALSE)) {
    Import_IO_Report_Error(1, "Couldn't open input file.");
    Import_IO_Report_Error(1, "Could not allocate memory for root node.");
    return nullptr;
  }
  SoSeparator *root = input.ReadAll();
  if (root) root->ref();
  SceneGraph graph(root);
  RefuseStoppedRead(input);
  if (!root) {
    ReportUnreadableFile(path);
    return nullptr;
  }
  if (root->getNumChildren() <= 0) {
    Import_IO_Report_Error(1, "No children nodes found in root level.");
    return nullptr;
  }
  RefuseUntraversableGraph(root, plugin.state->options);
  return graph;
}

}  // namespace

void ReadAndConvertFile_Inventor(const char *path) {
  InitCoin_Inventor();
  FixUpWelding(plugin.state->options);
  EnableTextureFilenameElement();
  GuardedInput input;
  SoCallbackAction action;
  SceneGraph root = ReadSceneGraph(input, path);
  if (root) {
    Import_IO_MakeSaveAndAttachRootInstance(path, plugin.root_instance_name);
    ResetRunState(path, root.get(), &input);
    RegisterCallbacks(action, plugin.state->options);
    action.apply(root.get());
    FinishImportedScene();
  }
  FreeInventorState();
  ClearSurfaceIndex();
}
