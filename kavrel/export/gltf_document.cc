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

const char *const kArrayNames[] = {"scenes", "nodes", "meshes", "materials", "textures", "images", "samplers",
                                   "cameras"};
static_assert(sizeof kArrayNames / sizeof kArrayNames[0] == static_cast<size_t>(GltfArray::kCount),
              "a name for every top-level array");

// A member "name": [records as objects], after the members before it; left
// out when there are no records.
template <typename Record, typename Write>
void WriteRecordList(std::string *text, const char *name, const std::vector<Record> &records, Write write) {
  if (records.empty()) return;
  *text += ",\"";
  *text += name;
  *text += "\":";
  JsonWriter out(text);
  out.BeginArray();
  for (const Record &record : records) {
    out.BeginObject();
    write(out, record);
    out.EndObject();
  }
  out.EndArray();
}

}  // namespace

GltfDocument::GltfDocument(GltfContainer container) : container_(container) {
  json_["asset"] = {{"version", "2.0"}, {"generator", "kavrel-convert"}};
}

JsonWriter &GltfDocument::Item(GltfArray array, int *index) {
  ArrayText &out = arrays_[static_cast<int>(array)];
  if (out.count == 0) out.writer.BeginArray();
  *index = out.count++;
  return out.writer;
}

int GltfDocument::Add(GltfArray array, const Json &item) {
  int index = 0;
  Item(array, &index).Raw(item.dump(-1, ' ', false, Json::error_handler_t::replace));
  return index;
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
  int index = 0;
  JsonWriter &out = Item(GltfArray::kImages, &index);
  out.BeginObject();
  out.Field("name", name);
  if (container_ == GltfContainer::kGlb) {
    out.Field("bufferView", AddBufferView(std::move(png), 0));
    out.Field("mimeType", "image/png");
  } else {
    out.Field("uri", "data:image/png;base64," + Base64Encode(png.data(), png.size()));
  }
  out.EndObject();
  return index;
}

// The top-level arrays as members of the object in text_.
void GltfDocument::WriteArrays() {
  for (int a = 0; a < static_cast<int>(GltfArray::kCount); ++a) {
    const ArrayText &array = arrays_[a];
    if (array.count == 0) continue;
    text_ += ",\"";
    text_ += kArrayNames[a];
    text_ += "\":";
    text_ += array.text;
    text_ += ']';
  }
}

// The accessors, buffer views and buffer as members of the object in text_.
void GltfDocument::WriteRecords() {
  WriteRecordList(&text_, "accessors", accessors_, [](JsonWriter &out, const Accessor &a) {
    out.Field("bufferView", a.view);
    out.Field("componentType", a.component_type);
    out.Field("count", a.count);
    out.Field("type", VectorType(a.components));
    if (!a.bounds) return;
    out.Key("min");
    out.Floats(a.min, a.components);
    out.Key("max");
    out.Floats(a.max, a.components);
  });
  WriteRecordList(&text_, "bufferViews", views_, [](JsonWriter &out, const BufferView &v) {
    out.Field("buffer", 0);
    out.Field("byteOffset", v.offset);
    out.Field("byteLength", v.length);
    if (v.target != 0) out.Field("target", v.target);
  });
  if (!bin_.empty()) {
    text_ += ",\"buffers\":[{\"byteLength\":" + std::to_string(bin_.size());
    if (container_ == GltfContainer::kGltf) {
      const std::vector<uint8_t> bytes = bin_.Joined();
      text_ += ",\"uri\":\"data:application/octet-stream;base64," + Base64Encode(bytes.data(), bytes.size()) + "\"";
    }
    text_ += "}]";
  }
}

ByteSpans GltfDocument::Serialize() {
  // Names from the input may be in any 8-bit encoding; JSON must be UTF-8.
  text_ = json_.dump(-1, ' ', false, Json::error_handler_t::replace);
  text_.pop_back();  // the closing brace: the arrays and records follow
  WriteArrays();
  WriteRecords();
  text_ += '}';
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
