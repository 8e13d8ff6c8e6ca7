// The stages that fill a glTF document from the scene database, and the
// whole build.
#ifndef KAVREL_EXPORT_GLTF_STAGES_H
#define KAVREL_EXPORT_GLTF_STAGES_H

#include <string>
#include <vector>

#include "kavrel/export/gltf_document.h"
#include "kavrel/export/gltf_meshes.h"
#include "kavrel/export/rotation.h"
#include "kavrel/host.h"

namespace kavrel {

// A node per live instance below "world", with its name, its matrix (omitted
// when identity), its object's mesh and, when hidden, extras {"hidden": true}.
// Returns the nodes of world's children: the scene's roots.
std::vector<int> AddInstanceNodes(const Scene &scene, GltfDocument &doc, GltfMeshes &meshes);

// Lights through KHR_lights_punctual, one root node each.
void AddLightNodes(const Scene &scene, GltfDocument &doc, std::vector<int> *roots);

// Cameras, one root node each, placed at the eye and looking down its -Z.
void AddCameraNodes(const Scene &scene, GltfDocument &doc, std::vector<int> *roots);

// A node at position turned into frame (translation and rotation omitted
// when they are the identity's).
Json PlacedNode(const std::string &name, const Vec3 &position, const Frame &frame, ExportNotes &notes);

// Fills doc with the host's whole scene, its textures read through the
// host's texture files; repairs and unusable textures are reported to it.
void BuildGltf(const Host &host, GltfDocument &doc);

}  // namespace kavrel

#endif
