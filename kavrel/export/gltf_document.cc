#include "kavrel/export/gltf_document.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "kavrel/export/base64.h"

namespace kavrel {
namespace {

constexpr uint32_t kGlbMagic = 0x46546C67;     // "glTF"
constexpr uint32_t kGlbVersion = 2;
constexpr uint32_t kChunkJson = 0x4E4F534A;    // "JSON"
constexpr uint32_t kChunkBin = 0x004E4942;     // "BIN\0"

void PadTo4(std::vector<uint8_t> *bytes, uint8_t fill) {
  while (bytes->size() % 4 != 0) bytes->push_back(fill);
}

void AppendU32(std::vector<uint8_t> *bytes, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes->push_back(static_cast<uint8_t>(value >> shift));
}

void AppendChunk(std::vector<uint8_t> *out, uint32_t type, const uint8_t *data, size_t size, uint8_t fill) {
  size_t padded = (size + 3) / 4 * 4;
  AppendU32(out, static_cast<uint32_t>(padded));
  AppendU32(out, type);
  out->insert(out->end(), data, data + size);
  out->insert(out->end(), padded - size, fill);
}

const char *VectorType(int components) {
  switch (components) {
    case 1: return "SCALAR";
    case 2: return "VEC2";
    case 3: return "VEC3";
    default: return "VEC4";
  }
}

}  // namespace

GltfDocument::GltfDocument(GltfContainer container) : container_(container) {
  json_["asset"] = {{"version", "2.0"}, {"generator", "kavrel-convert"}};
}

int GltfDocument::Add(const char *array, Json item) {
  Json &list = json_[array];
  list.push_back(std::move(item));
  return static_cast<int>(list.size()) - 1;
}

void GltfDocument::UseExtension(const std::string &name) {
  Json &used = json_["extensionsUsed"];
  if (std::find(used.begin(), used.end(), Json(name)) == used.end()) used.push_back(name);
}

int GltfDocument::AddBufferView(const void *data, size_t bytes, int target) {
  PadTo4(&bin_, 0);
  Json view = {{"buffer", 0}, {"byteOffset", bin_.size()}, {"byteLength", bytes}};
  if (target != 0) view["target"] = target;
  const uint8_t *first = static_cast<const uint8_t *>(data);
  bin_.insert(bin_.end(), first, first + bytes);
  return Add("bufferViews", std::move(view));
}

int GltfDocument::AddFloatAccessor(const std::vector<float> &values, int components, bool with_bounds) {
  int view = AddBufferView(values.data(), values.size() * sizeof(float), gl::kArrayBuffer);
  size_t count = values.size() / components;
  Json accessor = {{"bufferView", view}, {"componentType", gl::kFloat}, {"count", count},
                   {"type", VectorType(components)}};
  if (with_bounds && !values.empty()) {
    std::vector<float> low(values.begin(), values.begin() + components);
    std::vector<float> high = low;
    for (size_t i = 0; i < values.size(); ++i) {
      size_t c = i % components;
      low[c] = std::min(low[c], values[i]);
      high[c] = std::max(high[c], values[i]);
    }
    accessor["min"] = low;
    accessor["max"] = high;
  }
  return Add("accessors", std::move(accessor));
}

int GltfDocument::AddIndexAccessor(const std::vector<uint32_t> &indices) {
  int view = AddBufferView(indices.data(), indices.size() * sizeof(uint32_t), gl::kElementArrayBuffer);
  return Add("accessors", {{"bufferView", view}, {"componentType", gl::kUnsignedInt},
                           {"count", indices.size()}, {"type", "SCALAR"}});
}

int GltfDocument::AddPngImage(const std::vector<uint8_t> &png, const std::string &name) {
  Json image = {{"name", name}};
  if (container_ == GltfContainer::kGlb) {
    image["bufferView"] = AddBufferView(png.data(), png.size(), 0);
    image["mimeType"] = "image/png";
  } else {
    image["uri"] = "data:image/png;base64," + Base64Encode(png.data(), png.size());
  }
  return Add("images", std::move(image));
}

std::vector<uint8_t> GltfDocument::Serialize() const {
  Json doc = json_;
  if (!bin_.empty()) {
    Json buffer = {{"byteLength", bin_.size()}};
    if (container_ == GltfContainer::kGltf) {
      buffer["uri"] = "data:application/octet-stream;base64," + Base64Encode(bin_.data(), bin_.size());
    }
    doc["buffers"] = Json::array({std::move(buffer)});
  }
  // Names from the input may be in any 8-bit encoding; JSON must be UTF-8.
  std::string text = doc.dump(-1, ' ', false, Json::error_handler_t::replace);
  if (container_ == GltfContainer::kGlb) return SerializeGlb(text);
  return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> GltfDocument::SerializeGlb(const std::string &text) const {
  std::vector<uint8_t> out;
  out.reserve(12 + 8 + text.size() + 3 + 8 + bin_.size() + 3);
  AppendU32(&out, kGlbMagic);
  AppendU32(&out, kGlbVersion);
  AppendU32(&out, 0);  // total length, patched below
  AppendChunk(&out, kChunkJson, reinterpret_cast<const uint8_t *>(text.data()), text.size(), ' ');
  if (!bin_.empty()) AppendChunk(&out, kChunkBin, bin_.data(), bin_.size(), 0);
  if (out.size() > UINT32_MAX) throw std::length_error("the scene is too large for a .glb file (4 GiB)");
  uint32_t total = static_cast<uint32_t>(out.size());
  for (int i = 0; i < 4; ++i) out[8 + i] = static_cast<uint8_t>(total >> (8 * i));
  return out;
}

}  // namespace kavrel
