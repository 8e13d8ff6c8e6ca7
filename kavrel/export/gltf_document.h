// A glTF 2.0 document under construction: the JSON tree, the one binary
// buffer every accessor and embedded image points into, and the repairs made
// on the way. Serialize() gives the bytes of a .glb or of a self-contained
// .gltf (buffer and images as data URIs).
//
// Accessors and buffer views, the bulk of a large scene's JSON, are kept as
// plain records and written as text beside the tree rather than as tree
// nodes; the arrays are moved into the binary buffer, not copied.
#ifndef KAVREL_EXPORT_GLTF_DOCUMENT_H
#define KAVREL_EXPORT_GLTF_DOCUMENT_H

#include <cstdint>
#include <string>
#include <vector>

#include "kavrel/export/atomic_file.h"
#include "kavrel/export/export_notes.h"
#include "kavrel/export/gltf_binary.h"
#include "kavrel/export/json_value.h"

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
}  // namespace gl

class GltfDocument {
 public:
  explicit GltfDocument(GltfContainer container);

  Json &json() { return json_; }
  ExportNotes &notes() { return notes_; }

  // Appends item to the top-level array (made on first use; glTF forbids
  // empty arrays) and returns its index there.
  int Add(const char *array, Json item);
  // Lists an extension in extensionsUsed once.
  void UseExtension(const std::string &name);

  // Tightly packed float vectors of `components` each; POSITION accessors
  // need their bounds (with_bounds).
  int AddFloatAccessor(std::vector<float> values, int components, bool with_bounds);
  int AddIndexAccessor(std::vector<uint32_t> indices);
  // A PNG image: a buffer view in .glb, a data URI in .gltf.
  int AddPngImage(std::vector<uint8_t> png, const std::string &name);
  // The element count of an accessor.
  size_t AccessorCount(int accessor) const { return accessors_[accessor].count; }

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
    size_t count;
    bool bounds;
    float min[4], max[4];
  };

  int AddBufferView(GltfBinary::Array array, int target);
  std::string RecordsText() const;
  ByteSpans SerializeGlb();

  GltfContainer container_;
  Json json_;
  std::vector<BufferView> views_;
  std::vector<Accessor> accessors_;
  GltfBinary bin_;
  ExportNotes notes_;
  std::string text_;                           // the JSON, once serialized
  uint8_t glb_header_[20] = {}, bin_header_[8] = {};
};

}  // namespace kavrel

#endif
