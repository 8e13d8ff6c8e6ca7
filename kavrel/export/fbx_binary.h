// Binary FBX 7.4 (version 7400), record by record, into memory. The file is
// a header ("Kaydara FBX Binary  \0", 0x1a, 0x00, the version), a list of
// node records, a null record (13 zero bytes) that ends the list, and a
// footer. A record is its end offset from the start of the file, its
// property count and the byte length of its property list (each a 32-bit
// little-endian integer), its name (one length byte, then the characters),
// its typed properties, then its nested records ended by a null record.
// A record with nested records, or with no properties, carries that null
// record; one with properties and nothing nested does not (the readers
// tell the two apart by the end offset).
//
// Properties are a type letter and the value: C (bool byte), I (int32),
// L (int64), D (double), S (string) and R (raw bytes) with a 32-bit length
// first; arrays i (int32) and d (double) as element count, encoding and
// byte length, then the elements, zlib-compressed (encoding 1) above
// kFbxRawArrayBytes, as the reference writers do.
//
// The offsets are 32 bits wide: a file that would pass 4 GB is refused
// (Failed) rather than written with offsets that wrap.
#ifndef KAVREL_EXPORT_FBX_BINARY_H
#define KAVREL_EXPORT_FBX_BINARY_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel {

constexpr uint32_t kFbxVersion = 7400;
constexpr size_t kFbxRawArrayBytes = 128;      // arrays up to this size go uncompressed

class FbxBinary {
 public:
  FbxBinary();                                 // the header is written at once

  // Opens a record; the properties that follow are its own until a nested
  // record begins or End closes it.
  void Begin(std::string_view name);
  void End();

  void Bool(bool value);
  void Int32(int32_t value);
  void Int64(int64_t value);
  void Double(double value);
  void String(std::string_view value);
  void Raw(const void *data, size_t size);
  // An array of count elements; fill(first, n, out) writes elements first
  // to first + n - 1 into out. It is called for one range after another,
  // from several threads at once for a large array, so it may only read
  // what it shares.
  void Int32Array(uint64_t count, const std::function<void(uint64_t, size_t, int32_t *)> &fill);
  void DoubleArray(uint64_t count, const std::function<void(uint64_t, size_t, double *)> &fill);

  // A record holding one value and nothing else ("Version": 101).
  void IntRecord(std::string_view name, int32_t value);
  void StringRecord(std::string_view name, std::string_view value);

  // Ends the top-level list and writes the footer (every record closed).
  void Finish();

  bool Failed() const { return too_large_; }
  const std::string &bytes() const { return out_; }

 private:
  struct Open {
    size_t start;                              // where the record's header is
    size_t properties_start;                   // where its property list is
    uint32_t properties = 0;
    bool listing = true;                       // its property list is still being written
    bool nested = false;                       // it holds records
  };

  void Property(char type);
  void CloseProperties(Open &record);
  void Array(char type, size_t element_size, uint64_t count,
             const std::function<void(uint64_t, size_t, void *)> &fill);
  void Deflate(size_t element_size, uint64_t count, const std::function<void(uint64_t, size_t, void *)> &fill);
  void Append(const void *data, size_t size) { out_.append(static_cast<const char *>(data), size); }
  void AppendU32(uint32_t value);
  void AppendZeros(size_t count) { out_.append(count, '\0'); }
  // value at offset `at`; a value past 32 bits marks the file too large.
  void Patch(size_t at, uint64_t value);

  std::string out_;
  std::vector<Open> open_;
  bool too_large_ = false;
};

}  // namespace kavrel

#endif
