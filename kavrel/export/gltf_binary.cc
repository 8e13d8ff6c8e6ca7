#include "kavrel/export/gltf_binary.h"

#include <cstring>

namespace kavrel {
namespace {

constexpr uint8_t kZeros[4] = {0, 0, 0, 0};

size_t PaddedTo4(size_t n) { return (n + 3) / 4 * 4; }

}  // namespace

std::pair<const void *, size_t> BytesOf(const GltfBinary::Array &array) {
  if (const auto *borrowed = std::get_if<GltfBinary::Borrowed>(&array)) return {borrowed->data, borrowed->size};
  const std::vector<uint8_t> &owned = std::get<std::vector<uint8_t>>(array);
  return {owned.data(), owned.size()};
}

size_t GltfBinary::Append(Array array) {
  const size_t offset = PaddedTo4(size_);
  size_ = offset + BytesOf(array).second;
  pieces_.push_back(Piece{std::move(array), offset});
  return offset;
}

void GltfBinary::AddSpans(ByteSpans *spans) const {
  size_t written = 0;
  for (const Piece &piece : pieces_) {
    if (piece.offset > written) spans->push_back({kZeros, piece.offset - written});
    const auto [data, bytes] = BytesOf(piece.array);
    spans->push_back({data, bytes});
    written = piece.offset + bytes;
  }
  if (PaddedTo4(written) > written) spans->push_back({kZeros, PaddedTo4(written) - written});
}

std::vector<uint8_t> GltfBinary::Joined() const {
  std::vector<uint8_t> bytes(size_, 0);
  for (const Piece &piece : pieces_) {
    const auto [data, size] = BytesOf(piece.array);
    if (size > 0) std::memcpy(bytes.data() + piece.offset, data, size);
  }
  return bytes;
}

}  // namespace kavrel
