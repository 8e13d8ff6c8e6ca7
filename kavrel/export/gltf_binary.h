// The binary buffer of a glTF document as the arrays that make it up: each
// array is kept where it was built (borrowed from the export model, or
// moved in; never copied) at an offset aligned to 4 bytes, and only written
// out one after the other.
#ifndef KAVREL_EXPORT_GLTF_BINARY_H
#define KAVREL_EXPORT_GLTF_BINARY_H

#include <cstddef>
#include <cstdint>
#include <variant>
#include <vector>

#include "kavrel/export/atomic_file.h"

namespace kavrel {

class GltfBinary {
 public:
  // Bytes that someone else keeps alive until the buffer is written.
  struct Borrowed {
    const void *data;
    size_t size;
  };
  using Array = std::variant<Borrowed, std::vector<uint8_t>>;

  // Byte offset of the array in the buffer.
  size_t Append(Array array);
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  // The buffer as spans, zero padding between the arrays and at the end up
  // to a multiple of 4 bytes.
  void AddSpans(ByteSpans *spans) const;
  // The buffer as one block, for a data URI.
  std::vector<uint8_t> Joined() const;

 private:
  struct Piece {
    Array array;
    size_t offset;
  };
  std::vector<Piece> pieces_;
  size_t size_ = 0;
};

// Bytes and size of an array of any of the kinds above.
std::pair<const void *, size_t> BytesOf(const GltfBinary::Array &array);

}  // namespace kavrel

#endif
