// The objects of an FBX file and the connections between them, worked out
// from the export model before a byte is written:
// - a model per placement ("Mesh" when it draws triangles, else "Null";
//   line segments and points are left out) with its
//   transform, children below their parents; a "Light" model per light that
//   is on (ambient ones go into the scene's ambient colour instead) and a
//   "Camera" model per camera, at the root, each with its node attribute;
// - a geometry per model mesh and instance material: FBX keeps a model's
//   materials on the model, and the polygons' material indices count in
//   that list, so placements of one mesh share its geometry only where
//   their lists agree (Blender gives the geometry the materials of all its
//   models); a sheared placement gets a rotated copy of its own;
// - the materials the models use, in order of first use; a texture per
//   model texture whose image can be copied, a video per copied file.
// Identifiers are numbered from kFbxFirstId in that order, so the same
// scene makes the same file.
#ifndef KAVREL_EXPORT_FBX_PLAN_H
#define KAVREL_EXPORT_FBX_PLAN_H

#include <cstdint>
#include <string>
#include <vector>

#include "kavrel/export/export_model.h"
#include "kavrel/export/fbx_transform.h"
#include "kavrel/export/texture_copies.h"

namespace kavrel {

constexpr int64_t kFbxFirstId = 1000000;       // 0 is the scene's root

enum class FbxModelKind { kNull, kMesh, kLight, kCamera };

struct FbxModel {
  std::string name;                            // the placement's, light's or camera's name
  int64_t id = 0;
  int64_t parent = 0;                          // the parent model's id; 0: the root
  FbxModelKind kind = FbxModelKind::kNull;
  FbxTransform transform;                      // relative to the parent
  bool hidden = false;
  int32_t geometry = kNone;                    // into FbxPlan::geometries (kMesh)
  int32_t source = kNone;                      // into ExportModel::lights or ::cameras (kLight, kCamera)
  int64_t attribute = 0;                       // the node attribute's id (kLight, kCamera)
};

struct FbxGeometry {
  int64_t id = 0;
  int32_t mesh = kNone;                        // into ExportModel::meshes
  std::vector<int32_t> materials;              // model materials of its models, distinct, in group order
  std::vector<int32_t> slots;                  // by triangle group: its index in materials
  bool rotated = false;                        // a sheared placement's copy, turned by rotation
  Matrix rotation = IdentityMatrix();          // row vectors
  size_t triangles = 0;
};

// Who belongs to whom: child below parent, or child feeding the parent's
// property (a texture's "DiffuseColor").
struct FbxConnection {
  int64_t child = 0;
  int64_t parent = 0;
  const char *property = nullptr;              // null: object to object ("OO"), else "OP"
};

struct FbxPlan {
  std::vector<FbxModel> models;                // placements in model order, then lights, then cameras
  std::vector<FbxGeometry> geometries;
  std::vector<int32_t> materials;              // model materials in use, in order of first use
  std::vector<int64_t> material_ids;           // by model material; 0 when not in use
  TextureCopies copies;                        // the texture files copied beside the output
  std::vector<int64_t> texture_ids;            // by model texture; 0 when not written
  std::vector<int64_t> video_ids;              // by copy
  std::vector<FbxConnection> connections;      // models to parents first, then contents
  Double3 ambient{0, 0, 0};                    // the ambient lights' colour times intensity, summed
  size_t lights = 0, cameras = 0;              // models of each kind
  ExportNotes notes;                           // numbers and matrices repaired on the way
};

// The texture images are looked for under the host's texture roots; one
// that cannot be read is reported and left out; output names the copies.
FbxPlan PlanFbx(const Host &host, const ExportModel &model, const std::string &output);

// An object's name as FBX stores it: the name, a NUL and \x01, the class.
std::string FbxName(const std::string &name, const char *fbx_class);

}  // namespace kavrel

#endif
