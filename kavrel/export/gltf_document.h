// A glTF 2.0 document under construction: the JSON text of its top-level
// arrays, the one binary buffer every accessor and embedded image points
// into, and the repairs made on the way. Serialize() gives the bytes of a
// .glb or of a self-contained .gltf (buffer and images as data URIs).
//
// No document tree is built: each item of a top-level array (node, mesh,
// material, ...) and each KHR_lights_punctual light is written as JSON text
// when it is added. Accessors and buffer views are kept as plain records and
// written at the end; vertex and index arrays are borrowed from the export
// model, not copied.
#ifndef KAVREL_EXPORT_GLTF_DOCUMENT_H
#define KAVREL_EXPORT_GLTF_DOCUMENT_H

#include <cstdint>
#include <string>
#include <vector>

#include "kavrel/export/atomic_file.h"
#include "kavrel/export/export_notes.h"
#include "kavrel/export/gltf_binary.h"
#include "kavrel/export/json_writer.h"

namespace kavrel {

enum class GltfContainer { kGlb, kGltf };

// glTF's enumeration values that this writer uses.
namespace gl {
constexpr int kFloat = 5126;
constexpr int kUnsignedInt = 5125;
constexpr int kArrayBuffer = 34962;
constexpr int kElementArrayBuffer = 34963;
constexpr int kLinear = 9729;
constexpr int kLinearMipmapLinear = 9987;
constexpr int kRepeat = 10497;
constexpr int kClampToEdge = 33071;
constexpr int kPoints = 0;                     // primitive modes
constexpr int kLines = 1;
}  // namespace gl

// The top-level arrays written item by item, in the order they are written out.
enum class GltfArray { kScenes, kNodes, kMeshes, kMaterials, kTextures, kImages, kSamplers, kCameras, kCount };

class GltfDocument {
 public:
  explicit GltfDocument(GltfContainer container);
  GltfDocument(const GltfDocument &) = delete;
  GltfDocument &operator=(const GltfDocument &) = delete;

  ExportNotes &notes() { return notes_; }

  // Starts the next item of a top-level array (glTF forbids empty arrays:
  // one without items is left out) and sets *index to its index there. The
  // caller writes exactly one value, the item, through the writer.
  JsonWriter &Item(GltfArray array, int *index);
  int Count(GltfArray array) const { return arrays_[static_cast<int>(array)].count; }
  // Starts the next KHR_lights_punctual light, as Item does; the document
  // lists the extension as used once it has a light.
  JsonWriter &Light(int *index);
  int LightCount() const { return lights_.count; }

  // Tightly packed float vectors of `components` each; POSITION accessors
  // need their bounds (with_bounds). The values are borrowed: they must stay
  // unchanged until the document is written.
  int AddFloatAccessor(const std::vector<float> &values, int components, bool with_bounds);
  // Vertex indices of primitives of vertices_per_primitive each (3
  // triangles, 2 segments, 1 points), as IndexedPrimitives counts them.
  int AddIndexAccessor(const std::vector<uint32_t> &indices, int vertices_per_primitive);
  // A PNG image: a buffer view in .glb, a data URI in .gltf.
  int AddPngImage(std::vector<uint8_t> png, const std::string &name);
  // The primitives of vertices_per_primitive vertices (3 triangles, 2
  // segments, 1 points) of every index accessor, each counted once however
  // many meshes share it.
  size_t IndexedPrimitives(int vertices_per_primitive) const;

  // The file's bytes, pointing into the document: valid while it lives and
  // until the next call.
  ByteSpans Serialize();

 private:
  struct BufferView {
    size_t offset, length;
    int target;                                // 0: none
  };
  struct Accessor {
    int view, component_type, components;
    int vertices_per_primitive;                // of an index accessor; 0 for vertex data
    size_t count;
    bool bounds;
    float min[4], max[4];
  };

  struct ArrayText {
    std::string text;                          // "[item,item" once there are items
    JsonWriter writer{&text};
    int count = 0;
    // Starts the next item; its index in *index.
    JsonWriter &Next(int *index);
  };

  int AddBufferView(GltfBinary::Array array, int target);
  // The members before the top-level arrays: asset, extensions, scene.
  void WriteHeader(JsonWriter &out) const;
  void WriteArrays(JsonWriter &out) const;
  void WriteRecords(JsonWriter &out) const;
  ByteSpans SerializeGlb();

  GltfContainer container_;
  ArrayText arrays_[static_cast<int>(GltfArray::kCount)];
  ArrayText lights_;                           // KHR_lights_punctual's
  std::vector<BufferView> views_;
  std::vector<Accessor> accessors_;
  GltfBinary bin_;
  ExportNotes notes_;
  std::string text_;                           // the JSON, once serialized
  uint8_t glb_header_[20] = {}, bin_header_[8] = {};
};

}  // namespace kavrel

#endif
