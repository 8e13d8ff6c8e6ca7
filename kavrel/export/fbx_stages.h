// The parts of an FBX file, each written from the plan (fbx_plan.h) and the
// export model into the record writer; fbx_document.cc puts them in order.
#ifndef KAVREL_EXPORT_FBX_STAGES_H
#define KAVREL_EXPORT_FBX_STAGES_H

#include "kavrel/export/export_model.h"
#include "kavrel/export/fbx_binary.h"
#include "kavrel/export/fbx_plan.h"

namespace kavrel {

// The whole file: header extension, global settings, documents,
// definitions, objects, connections (fbx_document.cc).
void WriteFbxDocument(const ExportModel &model, const FbxPlan &plan, FbxBinary &out);

// A "Geometry" object: the mesh's vertices, its triangles, and per corner
// normals, texture coordinates and colours, the material slot per triangle
// (fbx_geometry.cc).
void WriteFbxGeometry(const ExportModel &model, const FbxGeometry &geometry, FbxBinary &out);

// A "Model" object, and the node attribute of a light or a camera
// (fbx_models.cc).
void WriteFbxModel(const FbxModel &model, FbxBinary &out);
void WriteFbxLight(const ModelLight &light, const FbxModel &model, FbxBinary &out);
void WriteFbxCamera(const ModelCamera &camera, const FbxModel &model, FbxBinary &out);

// The "Material", "Texture" and "Video" objects (fbx_materials.cc).
void WriteFbxMaterials(const ExportModel &model, const FbxPlan &plan, FbxBinary &out);

}  // namespace kavrel

#endif
