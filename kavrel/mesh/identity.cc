// Identity of meshes by their exact bytes: a hash to find candidates fast,
// a comparison to confirm them.
#include <cstring>

#include "kavrel/mesh/byte_hash.h"
#include "kavrel/mesh/mesh_internal.h"

namespace kavrel {
namespace {

template <typename T>
bool SameBytes(const std::vector<T> &a, const std::vector<T> &b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

}  // namespace

uint64_t MeshHash(const Mesh &mesh) {
  ByteHash hash;
  for (const std::vector<Vec3> *values : {&mesh.positions, &mesh.normals, &mesh.texcoords, &mesh.colors})
    hash.AddVector(*values);
  for (const std::vector<int32_t> *list : {&mesh.face_sizes, &mesh.position_index, &mesh.normal_index,
                                           &mesh.texcoord_index, &mesh.color_index, &mesh.face_surface})
    hash.AddVector(*list);
  for (const std::string &name : mesh.surface_names) hash.Add(name.c_str(), name.size() + 1);
  const uint64_t clockwise = mesh.clockwise;
  hash.Add(&clockwise, sizeof clockwise);
  return hash.Value();
}

bool SameMesh(const Mesh &a, const Mesh &b) {
  return a.clockwise == b.clockwise && SameBytes(a.positions, b.positions) && SameBytes(a.normals, b.normals) &&
         SameBytes(a.texcoords, b.texcoords) && SameBytes(a.colors, b.colors) &&
         SameBytes(a.face_sizes, b.face_sizes) && SameBytes(a.position_index, b.position_index) &&
         SameBytes(a.normal_index, b.normal_index) && SameBytes(a.texcoord_index, b.texcoord_index) &&
         SameBytes(a.color_index, b.color_index) && SameBytes(a.face_surface, b.face_surface) &&
         a.surface_names == b.surface_names;
}

}  // namespace kavrel
