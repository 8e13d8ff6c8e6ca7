// The 3MF writer's stages (see threemf_writer.h): mesh objects made from
// the model's meshes, and the document's identifiers.
#ifndef KAVREL_EXPORT_THREEMF_STAGES_H
#define KAVREL_EXPORT_THREEMF_STAGES_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "kavrel/export/export_model.h"
#include "kavrel/export/threemf_library.h"

namespace kavrel {

// What one mesh object is made of.
struct ThreeMfMeshSource {
  const FlatMesh *flat = nullptr;              // the model mesh's vertices and triangle groups
  const ModelPlacement *placement = nullptr;   // gives the material of the group drawn with the instance's surface
  const Matrix *transform = nullptr;           // null: the mesh's own coordinates; else where its points go
  bool reversed = false;                       // triangles wound the other way (transform mirrors)
};

// Fills object, a new mesh object, with source's welded vertices, its
// triangles and their properties from the base-materials group
// materials_id (one entry per model material, in order); the object's
// default property is its first triangle's material. Returns the
// triangles written.
size_t FillMeshObject(NMR::PLib3MFBase *object, const ExportModel &model, const ThreeMfMeshSource &source,
                      DWORD materials_id);

// The 3MF colour of a material: its diffuse colour, its opacity as alpha.
NMR::MODELMESHCOLOR_SRGB MaterialColor(const ModelMaterial &material);

// UUIDs for a document's objects, build items and build: the same model
// gives the same ones, each distinct within the document (version 8, made
// from a digest of the model's meshes, placements and materials and a
// serial number).
class ThreeMfUuids {
 public:
  explicit ThreeMfUuids(const ExportModel &model);
  std::string Next();

 private:
  uint64_t digest_ = 0;
  uint64_t serial_ = 0;
};

}  // namespace kavrel

#endif
