// The stages that fill a glTF document from the export model, and the
// whole build.
#ifndef KAVREL_EXPORT_GLTF_STAGES_H
#define KAVREL_EXPORT_GLTF_STAGES_H

#include <string>
#include <vector>

#include "kavrel/export/export_model.h"
#include "kavrel/export/gltf_document.h"
#include "kavrel/export/gltf_meshes.h"
#include "kavrel/export/rotation.h"
#include "kavrel/host.h"

namespace kavrel {

// A node per placement, with its name, its matrix (omitted when identity),
// its mesh and, when hidden, extras {"hidden": true}. Returns the nodes of
// world's children: the scene's roots.
std::vector<int> AddPlacementNodes(const ExportModel &model, GltfDocument &doc, GltfMeshes &meshes);

// Lights through KHR_lights_punctual, one root node each.
void AddLightNodes(const ExportModel &model, GltfDocument &doc, std::vector<int> *roots);

// Cameras, one root node each, placed at the eye and looking down its -Z.
void AddCameraNodes(const ExportModel &model, GltfDocument &doc, std::vector<int> *roots);

// Starts a node at position turned into frame (translation and rotation
// omitted when they are the identity's): the caller adds its members and
// ends the object.
JsonWriter &BeginPlacedNode(GltfDocument &doc, const std::string &name, const Vec3 &position, const Frame &frame,
                            int *index);

// Fills doc with the whole model; the model's arrays must stay unchanged
// until doc is written.
void BuildGltf(const Host &host, const ExportModel &model, GltfDocument &doc);

}  // namespace kavrel

#endif
