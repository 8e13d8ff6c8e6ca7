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

constexpr char kLightsExtension[] = "KHR_lights_punctual";

// A member "name": [records as objects]; left out when there are no records.
template <typename Record, typename Write>
void WriteRecordList(JsonWriter &out, const char *name, const std::vector<Record> &records, Write write) {
  if (records.empty()) return;
  out.Key(name);
  out.BeginArray();
  for (const Record &record : records) {
    out.BeginObject();
    write(out, record);
    out.EndObject();
  }
  out.EndArray();
}

}  // namespace

GltfDocument::GltfDocument(GltfContainer container) : container_(container) {}

JsonWriter &GltfDocument::ArrayText::Next(int *index) {
  if (count == 0) writer.BeginArray();
  *index = count++;
  return writer;
}

JsonWriter &GltfDocument::Item(GltfArray array, int *index) { return arrays_[static_cast<int>(array)].Next(index); }

JsonWriter &GltfDocument::Light(int *index) { return lights_.Next(index); }

int GltfDocument::AddBufferView(GltfBinary::Array array, int target) {
  const size_t length = BytesOf(array).second;
  const size_t offset = bin_.Append(std::move(array));
  views_.push_back(BufferView{offset, length, target});
  return static_cast<int>(views_.size()) - 1;
}

int GltfDocument::AddFloatAccessor(const std::vector<float> &values, int components, bool with_bounds) {
  Accessor accessor{};
  accessor.component_type = gl::kFloat;
  accessor.components = components;
  accessor.count = values.size() / components;
  accessor.bounds = with_bounds && !values.empty();
  if (accessor.bounds) {
    std::copy(values.begin(), values.begin() + components, accessor.min);
    std::copy(values.begin(), values.begin() + components, accessor.max);
    // Vertex by vertex: a remainder per value costs a division each.
    for (size_t i = 0; i + components <= values.size(); i += components) {
      for (int c = 0; c < components; ++c) {
        accessor.min[c] = std::min(accessor.min[c], values[i + c]);
        accessor.max[c] = std::max(accessor.max[c], values[i + c]);
      }
    }
  }
  accessor.view = AddBufferView(GltfBinary::Borrowed{values.data(), values.size() * sizeof(float)}, gl::kArrayBuffer);
  accessors_.push_back(accessor);
  return static_cast<int>(accessors_.size()) - 1;
}

int GltfDocument::AddIndexAccessor(const std::vector<uint32_t> &indices, int vertices_per_primitive) {
  Accessor accessor{};
  accessor.component_type = gl::kUnsignedInt;
  accessor.components = 1;
  accessor.vertices_per_primitive = vertices_per_primitive;
  accessor.count = indices.size();
  accessor.view =
      AddBufferView(GltfBinary::Borrowed{indices.data(), indices.size() * sizeof(uint32_t)}, gl::kElementArrayBuffer);
  accessors_.push_back(accessor);
  return static_cast<int>(accessors_.size()) - 1;
}

size_t GltfDocument::IndexedPrimitives(int vertices_per_primitive) const {
  size_t vertices = 0;
  for (const Accessor &accessor : accessors_)
    if (accessor.vertices_per_primitive == vertices_per_primitive) vertices += accessor.count;
  return vertices / vertices_per_primitive;
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

void GltfDocument::WriteHeader(JsonWriter &out) const {
  out.Key("asset");
  out.BeginObject();
  out.Field("version", "2.0");
  out.Field("generator", "kavrel-convert");
  out.EndObject();
  if (lights_.count > 0) {
    out.Key("extensions");
    out.BeginObject();
    out.Key(kLightsExtension);
    out.BeginObject();
    out.Key("lights");
    out.Raw(lights_.text + ']');
    out.EndObject();
    out.EndObject();
    out.Key("extensionsUsed");
    out.BeginArray();
    out.String(kLightsExtension);
    out.EndArray();
  }
  if (Count(GltfArray::kScenes) > 0) out.Field("scene", 0);
}

void GltfDocument::WriteArrays(JsonWriter &out) const {
  for (int a = 0; a < static_cast<int>(GltfArray::kCount); ++a) {
    const ArrayText &array = arrays_[a];
    if (array.count == 0) continue;
    out.Key(kArrayNames[a]);
    out.Raw(array.text + ']');
  }
}

// The accessors, buffer views and buffer.
void GltfDocument::WriteRecords(JsonWriter &out) const {
  WriteRecordList(out, "accessors", accessors_, [](JsonWriter &out, const Accessor &a) {
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
  WriteRecordList(out, "bufferViews", views_, [](JsonWriter &out, const BufferView &v) {
    out.Field("buffer", 0);
    out.Field("byteOffset", v.offset);
    out.Field("byteLength", v.length);
    if (v.target != 0) out.Field("target", v.target);
  });
  if (bin_.empty()) return;
  out.Key("buffers");
  out.BeginArray();
  out.BeginObject();
  out.Field("byteLength", bin_.size());
  if (container_ == GltfContainer::kGltf) {
    const std::vector<uint8_t> bytes = bin_.Joined();
    out.Field("uri", "data:application/octet-stream;base64," + Base64Encode(bytes.data(), bytes.size()));
  }
  out.EndObject();
  out.EndArray();
}

ByteSpans GltfDocument::Serialize() {
  text_.clear();
  JsonWriter out(&text_);
  out.BeginObject();
  WriteHeader(out);
  WriteArrays(out);
  WriteRecords(out);
  out.EndObject();
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
