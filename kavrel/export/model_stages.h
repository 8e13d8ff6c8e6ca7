// The stages of BuildExportModel, in the order it runs them: each reads the
// scene and what the stages before it added to the model.
#ifndef KAVREL_EXPORT_MODEL_STAGES_H
#define KAVREL_EXPORT_MODEL_STAGES_H

#include "kavrel/export/export_model.h"
#include "kavrel/toolkit/scene.h"

namespace kavrel {

// The placements and the objects they place (model_placements.cc).
void AddPlacements(const Scene &scene, ExportModel &model);

// The distinct meshes of the placed objects, prepared on several threads
// (model_meshes.cc); sets the objects' and placements' meshes.
void AddMeshes(const Scene &scene, ExportModel &model);

// The materials of the meshes' groups and the placements' surfaces, and
// their textures (model_materials.cc).
void AddMaterials(const Scene &scene, ExportModel &model);

// The lights that are switched on, and the cameras (model_lights.cc).
void AddLightsAndCameras(const Scene &scene, ExportModel &model);

}  // namespace kavrel

#endif
