// The binary FBX record writer, byte by byte: the header, records with
// their end offsets, property counts and list lengths, the 13-byte null
// records after nested lists (and after records without properties), the
// end of the top level and the footer; arrays raw, or zlib-compressed in
// chunks that make one stream.
#include <zlib.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "kavrel/export/fbx_binary.h"

namespace kavrel_test {
namespace {

using kavrel::FbxBinary;

uint32_t U32(const std::string &bytes, size_t at) {
  uint32_t value = 0;
  std::memcpy(&value, bytes.data() + at, 4);
  return value;
}

bool Zeros(const std::string &bytes, size_t at, size_t count) {
  return bytes.compare(at, count, std::string(count, '\0')) == 0;
}

TEST(FbxBinary, RecordsEndWhereTheySayWithNullRecordsAfterNestedLists) {
  FbxBinary out;
  out.Begin("Outer");
  out.Int32(7);
  out.Begin("Leaf");     // properties only: no null record
  out.String("ab");
  out.End();
  out.Begin("Empty");    // no properties: a null record
  out.End();
  out.End();
  out.Finish();
  const std::string &b = out.bytes();

  EXPECT_EQ(b.substr(0, 23), std::string("Kaydara FBX Binary  \0\x1a\0", 23));
  EXPECT_EQ(U32(b, 23), 7400u);
  // Outer: end offset, one property of 5 bytes (I and 4), its name.
  EXPECT_EQ(U32(b, 27 + 4), 1u);
  EXPECT_EQ(U32(b, 27 + 8), 5u);
  EXPECT_EQ(b.substr(27 + 12, 6), std::string("\5Outer"));
  EXPECT_EQ(b[45], 'I');
  const size_t leaf = 50;                      // 27 + 13 + 5 + 5
  EXPECT_EQ(b.substr(leaf + 12, 5), std::string("\4Leaf"));
  EXPECT_EQ(U32(b, leaf + 8), 7u);             // S, length, "ab"
  EXPECT_EQ(U32(b, leaf), leaf + 13 + 4 + 7);
  const size_t empty = U32(b, leaf);
  EXPECT_EQ(U32(b, empty + 4), 0u);
  EXPECT_EQ(U32(b, empty), empty + 13 + 5 + 13);
  EXPECT_TRUE(Zeros(b, empty + 18, 13));
  // Outer's own null record after its nested list, then the top level's.
  const size_t outer_end = U32(b, 27);
  EXPECT_EQ(outer_end, U32(b, empty) + 13);
  EXPECT_TRUE(Zeros(b, outer_end - 13, 26));
  // The footer: its id, four zeros, padding to 16, the version, 120 zeros, its end.
  const size_t footer = outer_end + 13;
  EXPECT_EQ(static_cast<unsigned char>(b[footer]), 0xfau);
  const size_t version = (footer + 20 + 16) / 16 * 16;
  EXPECT_TRUE(Zeros(b, footer + 16, version - footer - 16));
  EXPECT_EQ(U32(b, version), 7400u);
  EXPECT_TRUE(Zeros(b, version + 4, 120));
  EXPECT_EQ(b.size(), version + 4 + 120 + 16);
  EXPECT_FALSE(out.Failed());
}

TEST(FbxBinary, SmallArraysGoRawLargeOnesCompressed) {
  FbxBinary out;
  out.Begin("A");
  out.Int32Array(3, [](uint64_t first, size_t n, int32_t *values) {
    for (size_t i = 0; i < n; ++i) values[i] = static_cast<int32_t>(first + i) - 1;
  });
  out.DoubleArray(600000, [](uint64_t first, size_t n, double *values) {
    for (size_t i = 0; i < n; ++i) values[i] = 0.5 * static_cast<double>(first + i);
  });
  out.End();
  const std::string &b = out.bytes();
  const size_t raw = 27 + 13 + 1;              // after the name "A"
  EXPECT_EQ(b[raw], 'i');
  EXPECT_EQ(U32(b, raw + 1), 3u);              // elements
  EXPECT_EQ(U32(b, raw + 5), 0u);              // plain
  EXPECT_EQ(U32(b, raw + 9), 12u);
  EXPECT_EQ(static_cast<int32_t>(U32(b, raw + 13)), -1);
  const size_t packed = raw + 13 + 12;
  EXPECT_EQ(b[packed], 'd');
  EXPECT_EQ(U32(b, packed + 1), 600000u);
  EXPECT_EQ(U32(b, packed + 5), 1u);           // zlib
  const uint32_t length = U32(b, packed + 9);
  EXPECT_EQ(U32(b, 27 + 8), 1 + 12 + 12 + 1 + 12 + length);  // the whole property list
  std::vector<double> values(600000);
  uLongf size = values.size() * sizeof(double);
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef *>(values.data()), &size,
                       reinterpret_cast<const Bytef *>(b.data() + packed + 13), length),
            Z_OK);
  EXPECT_EQ(size, values.size() * sizeof(double));
  size_t misplaced = 0;                        // compressed in chunks, which must follow in order
  for (size_t i = 0; i < values.size(); ++i) misplaced += values[i] != 0.5 * static_cast<double>(i);
  EXPECT_EQ(misplaced, 0u);
  EXPECT_EQ(U32(b, 27), packed + 13 + length);  // properties only: no null record
}

}  // namespace
}  // namespace kavrel_test
