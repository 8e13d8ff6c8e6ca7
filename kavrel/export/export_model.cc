#include "kavrel/export/export_model.h"

#include "kavrel/export/model_stages.h"

namespace kavrel {

ExportModel BuildExportModel(const Scene &scene) {
  ExportModel model;
  AddPlacements(scene, model);
  AddMeshes(scene, model);
  AddMaterials(scene, model);
  AddLightsAndCameras(scene, model);
  return model;
}

}  // namespace kavrel
