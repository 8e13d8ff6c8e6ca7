// Identifiers of a 3MF document that follow from its content. lib3mf would
// draw random ones, and every export of one scene would differ.
#include <cstdio>

#include "kavrel/export/threemf_stages.h"
#include "kavrel/mesh/byte_hash.h"

namespace kavrel {

ThreeMfUuids::ThreeMfUuids(const ExportModel &model) {
  ByteHash hash;
  for (const ModelMesh &mesh : model.meshes) {
    hash.AddVector(mesh.flat.positions);
    hash.AddVector(mesh.flat.colors);
    for (const TriangleGroup &group : mesh.flat.groups) hash.AddVector(group.indices);
  }
  for (const ModelPlacement &placement : model.placements) {
    hash.Add(placement.name.c_str(), placement.name.size() + 1);
    hash.Add(placement.world.data(), sizeof placement.world);
  }
  for (const ModelMaterial &material : model.materials) {
    hash.Add(material.distinct_name.c_str(), material.distinct_name.size() + 1);
    hash.Add(material.diffuse.data(), sizeof material.diffuse);
  }
  digest_ = hash.Value();
}

std::string ThreeMfUuids::Next() {
  const uint64_t serial = serial_++;
  char text[37];
  // The digest fills the first half around the version (8), the serial the
  // second after the variant bits (10), so no two serials share a UUID.
  std::snprintf(text, sizeof text, "%08x-%04x-%04x-%04x-%012llx", static_cast<unsigned>(digest_ >> 32),
                static_cast<unsigned>((digest_ >> 16) & 0xFFFF), static_cast<unsigned>(0x8000 | (digest_ & 0x0FFF)),
                static_cast<unsigned>(0x8000 | ((serial >> 48) & 0x3FFF)),
                static_cast<unsigned long long>(serial & 0xFFFFFFFFFFFFULL));
  return text;
}

}  // namespace kavrel
