#include "kavrel/export/fbx_binary.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "kavrel/mesh/parallel_tasks.h"

namespace kavrel {
namespace {

// FBX is little-endian, as every machine this is built for: numbers go out
// in memory order.
constexpr char kMagic[] = "Kaydara FBX Binary  ";  // with its terminating NUL: 21 bytes
constexpr size_t kNullRecord = 13;             // end offset, property count, list length, name length: all 0
constexpr size_t kChunkElements = 1 << 18;     // array elements made and compressed as one task

// The footer that follows the top-level list in the files of the reference
// writers; importers that check it expect these bytes.
constexpr unsigned char kFooterId[16] = {0xfa, 0xbc, 0xab, 0x09, 0xd0, 0xc8, 0xd4, 0x66,
                                         0xb1, 0x76, 0xfb, 0x83, 0x1c, 0xf7, 0x26, 0x7e};
constexpr unsigned char kFooterEnd[16] = {0xf8, 0x5a, 0x8c, 0x6a, 0xde, 0xf5, 0xd9, 0x7e,
                                          0xec, 0xe9, 0x0c, 0xe3, 0x75, 0x8f, 0x29, 0x0b};

// One chunk of an array as raw deflate data, byte-aligned at its end; the
// last one with the stream's final block.
std::string DeflateChunk(const std::vector<unsigned char> &elements, bool last) {
  z_stream stream;
  std::memset(&stream, 0, sizeof stream);
  deflateInit2(&stream, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, elements.size()) + 16, '\0');
  stream.next_in = const_cast<unsigned char *>(elements.data());
  stream.avail_in = static_cast<uInt>(elements.size());
  stream.next_out = reinterpret_cast<unsigned char *>(&out[0]);
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, last ? Z_FINISH : Z_SYNC_FLUSH);
  out.resize(out.size() - stream.avail_out);
  deflateEnd(&stream);
  return out;
}

}  // namespace

FbxBinary::FbxBinary() {
  Append(kMagic, sizeof kMagic);
  out_ += '\x1a';
  out_ += '\0';
  AppendU32(kFbxVersion);
}

void FbxBinary::AppendU32(uint32_t value) {
  unsigned char bytes[4];
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
  Append(bytes, 4);
}

void FbxBinary::Patch(size_t at, uint64_t value) {
  if (value > std::numeric_limits<uint32_t>::max()) {
    too_large_ = true;
    return;
  }
  for (int i = 0; i < 4; ++i) out_[at + i] = static_cast<char>(value >> (8 * i));
}

void FbxBinary::Begin(std::string_view name) {
  if (!open_.empty() && open_.back().listing) CloseProperties(open_.back());
  if (!open_.empty()) open_.back().nested = true;
  Open record;
  record.start = out_.size();
  AppendZeros(12);  // end offset, property count, list length: patched when known
  const size_t length = name.size() < 255 ? name.size() : 255;
  out_ += static_cast<char>(length);
  Append(name.data(), length);
  record.properties_start = out_.size();
  open_.push_back(record);
}

void FbxBinary::CloseProperties(Open &record) {
  record.listing = false;
  Patch(record.start + 4, record.properties);
  Patch(record.start + 8, out_.size() - record.properties_start);
}

void FbxBinary::End() {
  Open record = open_.back();
  open_.pop_back();
  if (record.listing) CloseProperties(record);
  if (record.nested || record.properties == 0) AppendZeros(kNullRecord);
  Patch(record.start, out_.size());
}

void FbxBinary::Property(char type) {
  ++open_.back().properties;
  out_ += type;
}

void FbxBinary::Bool(bool value) {
  Property('C');
  out_ += value ? '\1' : '\0';
}

void FbxBinary::Int32(int32_t value) {
  Property('I');
  Append(&value, 4);
}

void FbxBinary::Int64(int64_t value) {
  Property('L');
  Append(&value, 8);
}

void FbxBinary::Double(double value) {
  Property('D');
  Append(&value, 8);
}

void FbxBinary::String(std::string_view value) {
  Property('S');
  AppendU32(static_cast<uint32_t>(value.size()));
  Append(value.data(), value.size());
}

void FbxBinary::Raw(const void *data, size_t size) {
  Property('R');
  AppendU32(static_cast<uint32_t>(size));
  Append(data, size);
}

void FbxBinary::IntRecord(std::string_view name, int32_t value) {
  Begin(name);
  Int32(value);
  End();
}

void FbxBinary::StringRecord(std::string_view name, std::string_view value) {
  Begin(name);
  String(value);
  End();
}

void FbxBinary::Int32Array(uint64_t count, const std::function<void(uint64_t, size_t, int32_t *)> &fill) {
  Array('i', 4, count, [&](uint64_t first, size_t n, void *out) { fill(first, n, static_cast<int32_t *>(out)); });
}

void FbxBinary::DoubleArray(uint64_t count, const std::function<void(uint64_t, size_t, double *)> &fill) {
  Array('d', 8, count, [&](uint64_t first, size_t n, void *out) { fill(first, n, static_cast<double *>(out)); });
}

void FbxBinary::Array(char type, size_t element_size, uint64_t count,
                      const std::function<void(uint64_t, size_t, void *)> &fill) {
  Property(type);
  const size_t head = out_.size();
  AppendZeros(12);  // element count, encoding, byte length
  Patch(head, count);
  if (count * element_size <= kFbxRawArrayBytes) {
    const size_t at = out_.size();
    out_.resize(at + count * element_size);
    if (count > 0) fill(0, count, &out_[at]);
  } else {
    Patch(head + 4, 1);
    Deflate(element_size, count, fill);
  }
  Patch(head + 8, out_.size() - head - 12);
}

// The elements made and compressed in chunks, on several threads: each
// chunk is a raw deflate stream ended on a byte boundary (a sync flush),
// the last one finished, so that one after the other they make one
// stream; the zlib header goes in front and the checksum of all the bytes,
// combined from the chunks' own, behind (zlib's fastest level: the arrays
// are floats widened to doubles and indices, which shrink well even so).
// The chunks are the same whatever the thread count, and so is the file.
void FbxBinary::Deflate(size_t element_size, uint64_t count,
                        const std::function<void(uint64_t, size_t, void *)> &fill) {
  const size_t chunks = static_cast<size_t>((count + kChunkElements - 1) / kChunkElements);
  std::vector<std::string> packed(chunks);
  std::vector<uLong> checksums(chunks);
  RunTasks(chunks, [&](size_t chunk) {
    const uint64_t first = chunk * kChunkElements;
    const size_t n = static_cast<size_t>(std::min<uint64_t>(kChunkElements, count - first));
    std::vector<unsigned char> elements(n * element_size);
    fill(first, n, elements.data());
    checksums[chunk] = adler32(adler32(0, nullptr, 0), elements.data(), static_cast<uInt>(elements.size()));
    packed[chunk] = DeflateChunk(elements, chunk + 1 == chunks);
  });
  out_ += '\x78';  // deflate with a 32 KB window, fastest level
  out_ += '\x01';
  uLong checksum = adler32(0, nullptr, 0);
  for (size_t chunk = 0; chunk < chunks; ++chunk) {
    out_ += packed[chunk];
    const uint64_t first = chunk * kChunkElements;
    const uint64_t bytes = std::min<uint64_t>(kChunkElements, count - first) * element_size;
    checksum = adler32_combine(checksum, checksums[chunk], static_cast<z_off_t>(bytes));
  }
  for (int shift = 24; shift >= 0; shift -= 8) out_ += static_cast<char>((checksum >> shift) & 0xff);
}

void FbxBinary::Finish() {
  AppendZeros(kNullRecord);
  Append(kFooterId, sizeof kFooterId);
  AppendZeros(4);
  // Zeros up to the next multiple of 16, at least one.
  const size_t padding = 16 - out_.size() % 16;
  AppendZeros(padding);
  AppendU32(kFbxVersion);
  AppendZeros(120);
  Append(kFooterEnd, sizeof kFooterEnd);
}

}  // namespace kavrel
