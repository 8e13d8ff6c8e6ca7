// Host objects as glTF meshes. Objects whose meshes are identical byte for
// byte (MeshHash, confirmed by SameMesh) share one set of vertex data and
// index lists, written once; glTF puts materials on primitives, so each
// distinct material of the instances that place such a geometry makes one
// mesh over those accessors, which every node with that geometry and
// material references.
#ifndef KAVREL_EXPORT_GLTF_MESHES_H
#define KAVREL_EXPORT_GLTF_MESHES_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "kavrel/export/gltf_document.h"
#include "kavrel/export/gltf_materials.h"
#include "kavrel/export/prepared_meshes.h"
#include "kavrel/toolkit/scene.h"

namespace kavrel {

class GltfMeshes {
 public:
  GltfMeshes(const Scene &scene, GltfDocument &doc, GltfMaterials &materials);

  // Works out, before any mesh is written, which of these objects (in the
  // order they will be placed) share geometry, and flattens each geometry
  // and decides its sidedness, on several threads. MeshFor then only writes.
  void Prepare(const std::vector<int32_t> &objects);

  // The mesh of scene.objects.items[object] placed by an instance whose
  // linked surface is instance_surface; -1 when there is nothing to draw
  // (no such object, not yet ended, or no triangles).
  int MeshFor(int32_t object, const std::string &instance_surface);

 private:
  struct Primitive {
    int position = -1, normal = -1, texcoord = -1, color = -1;  // accessors, -1 for none
    int indices = -1;                          // index accessor
    int32_t surface = kNone;                   // scene surface of per-face groups; unused for the instance's group
    bool instance_surface = false;             // drawn with the placing instance's surface
  };
  struct Geometry {
    int32_t object = kNone;                    // the first object with these bytes; its name names the meshes
    bool has_colors = false;
    bool uses_instance_surface = false;
    bool double_sided = true;                  // back faces may show: see DrawnDoubleSided
    std::vector<Primitive> primitives;
    ExportNotes repairs;                       // made while flattening; counted again for every object sharing it
  };

  bool Placeable(int32_t object) const;
  // The objects' first-placed holders of each distinct geometry, found
  // through MeshHash and confirmed by SameMesh; sets representative_of_.
  std::vector<int32_t> FindRepresentatives(const std::vector<int32_t> &objects);
  // The geometry of an object, written on first use; kNone for no object.
  int32_t GeometryOf(int32_t object);
  int32_t AddGeometry(int32_t object, PreparedMesh &prepared);
  int MaterialOf(int32_t surface, const Geometry &geometry);
  int WriteMesh(const Geometry &geometry, int instance_material);

  const Scene &scene_;
  GltfDocument &doc_;
  GltfMaterials &materials_;
  std::vector<uint8_t> live_objects_;          // by object index
  std::vector<int32_t> geometry_of_;           // by object index; kNone until written
  std::vector<int32_t> representative_of_;     // by object index; kNone until prepared
  std::vector<int32_t> prepared_of_;           // by object index of a representative: index into prepared_
  std::vector<PreparedMesh> prepared_;        // by distinct geometry, in order of placing
  std::unordered_multimap<uint64_t, int32_t> representative_by_hash_;  // MeshHash -> representative object
  std::vector<Geometry> geometries_;
  std::unordered_map<uint64_t, int> meshes_;                 // (geometry, instance material) -> mesh
  std::vector<int> materials_scratch_;         // per primitive of the mesh being written
};

}  // namespace kavrel

#endif
