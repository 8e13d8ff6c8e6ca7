#include "kavrel/export/gltf_document.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "kavrel/export/base64.h"

namespace kavrel {
namespace {

constexpr uint32_t kGlbMagic = 0x46546C67;     // "glTF"
constexpr uint32_t kGlbVersion = 2;
constexpr uint32_t kChunkJson = 0x4E4F534A;    // "JSON"
constexpr uint32_t kChunkBin = 0x004E4942;     // "BIN\0"
constexpr char kSpaces[4] = {' ', ' ', ' ', ' '};

void PutU32(uint8_t *out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

size_t PaddedTo4(size_t n) { return (n + 3) / 4 * 4; }

const char *VectorType(int components) {
  switch (components) {
    case 1: return "SCALAR";
    case 2: return "VEC2";
    case 3: return "VEC3";
    default: return "VEC4";
  }
}

// A float the way the tree prints it: shortest exact form.
std::string FloatText(float value) { return Json(value).dump(); }

std::string FloatsText(const float *values, int count) {
  std::string text = "[";
  for (int i = 0; i < count; ++i) text += (i ? "," : "") + FloatText(values[i]);
  return text + "]";
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

int GltfDocument::AddBufferView(GltfBinary::Array array, int target) {
  const size_t length = BytesOf(array).second;
  const size_t offset = bin_.Append(std::move(array));
  views_.push_back(BufferView{offset, length, target});
  return static_cast<int>(views_.size()) - 1;
}

int GltfDocument::AddFloatAccessor(std::vector<float> values, int components, bool with_bounds) {
  Accessor accessor{};
  accessor.component_type = gl::kFloat;
  accessor.components = components;
  accessor.count = values.size() / components;
  accessor.bounds = with_bounds && !values.empty();
  if (accessor.bounds) {
    std::copy(values.begin(), values.begin() + components, accessor.min);
    std::copy(values.begin(), values.begin() + components, accessor.max);
    for (size_t i = 0; i < values.size(); ++i) {
      const size_t c = i % components;
      accessor.min[c] = std::min(accessor.min[c], values[i]);
      accessor.max[c] = std::max(accessor.max[c], values[i]);
    }
  }
  accessor.view = AddBufferView(std::move(values), gl::kArrayBuffer);
  accessors_.push_back(accessor);
  return static_cast<int>(accessors_.size()) - 1;
}

int GltfDocument::AddIndexAccessor(std::vector<uint32_t> indices) {
  Accessor accessor{};
  accessor.component_type = gl::kUnsignedInt;
  accessor.components = 1;
  accessor.count = indices.size();
  accessor.view = AddBufferView(std::move(indices), gl::kElementArrayBuffer);
  accessors_.push_back(accessor);
  return static_cast<int>(accessors_.size()) - 1;
}

int GltfDocument::AddPngImage(std::vector<uint8_t> png, const std::string &name) {
  Json image = {{"name", name}};
  if (container_ == GltfContainer::kGlb) {
    image["bufferView"] = AddBufferView(std::move(png), 0);
    image["mimeType"] = "image/png";
  } else {
    image["uri"] = "data:image/png;base64," + Base64Encode(png.data(), png.size());
  }
  return Add("images", std::move(image));
}

// The accessors, buffer views and buffer as members to close the tree's
// top-level object with.
std::string GltfDocument::RecordsText() const {
  std::string text;
  for (size_t i = 0; i < accessors_.size(); ++i) {
    const Accessor &a = accessors_[i];
    text += (i ? ",{" : ",\"accessors\":[{");
    text += "\"bufferView\":" + std::to_string(a.view) + ",\"componentType\":" +
            std::to_string(a.component_type) + ",\"count\":" + std::to_string(a.count) + ",\"type\":\"" +
            VectorType(a.components) + "\"";
    if (a.bounds)
      text += ",\"min\":" + FloatsText(a.min, a.components) + ",\"max\":" + FloatsText(a.max, a.components);
    text += "}";
  }
  if (!accessors_.empty()) text += "]";
  for (size_t i = 0; i < views_.size(); ++i) {
    const BufferView &v = views_[i];
    text += (i ? ",{" : ",\"bufferViews\":[{");
    text += "\"buffer\":0,\"byteOffset\":" + std::to_string(v.offset) + ",\"byteLength\":" + std::to_string(v.length);
    if (v.target != 0) text += ",\"target\":" + std::to_string(v.target);
    text += "}";
  }
  if (!views_.empty()) text += "]";
  if (!bin_.empty()) {
    text += ",\"buffers\":[{\"byteLength\":" + std::to_string(bin_.size());
    if (container_ == GltfContainer::kGltf) {
      const std::vector<uint8_t> bytes = bin_.Joined();
      text += ",\"uri\":\"data:application/octet-stream;base64," + Base64Encode(bytes.data(), bytes.size()) + "\"";
    }
    text += "}]";
  }
  return text;
}

ByteSpans GltfDocument::Serialize() {
  // Names from the input may be in any 8-bit encoding; JSON must be UTF-8.
  text_ = json_.dump(-1, ' ', false, Json::error_handler_t::replace);
  text_.pop_back();  // the closing brace: the records follow
  text_ += RecordsText() + "}";
  if (container_ == GltfContainer::kGlb) return SerializeGlb();
  return ByteSpans{{text_.data(), text_.size()}};
}

ByteSpans GltfDocument::SerializeGlb() {
  const size_t json_chunk = PaddedTo4(text_.size());
  const size_t bin_chunk = PaddedTo4(bin_.size());
  const size_t total = 12 + 8 + json_chunk + (bin_.empty() ? 0 : 8 + bin_chunk);
  if (total > UINT32_MAX) throw std::length_error("the scene is too large for a .glb file (4 GiB)");
  PutU32(glb_header_, kGlbMagic);
  PutU32(glb_header_ + 4, kGlbVersion);
  PutU32(glb_header_ + 8, static_cast<uint32_t>(total));
  PutU32(glb_header_ + 12, static_cast<uint32_t>(json_chunk));
  PutU32(glb_header_ + 16, kChunkJson);
  ByteSpans spans{{glb_header_, sizeof glb_header_}, {text_.data(), text_.size()}};
  if (json_chunk > text_.size()) spans.push_back({kSpaces, json_chunk - text_.size()});
  if (bin_.empty()) return spans;
  PutU32(bin_header_, static_cast<uint32_t>(bin_chunk));
  PutU32(bin_header_ + 4, kChunkBin);
  spans.push_back({bin_header_, sizeof bin_header_});
  bin_.AddSpans(&spans);
  return spans;
}

}  // namespace kavrel
