// Text for a large file, gathered in one block and handed to the file
// whenever the block fills: numbers are formatted straight into the block
// (floats in their shortest form that reads back as the same float), so
// writing a number allocates nothing and goes through no stream. Write
// failures are left in the FILE's error state for its closer to see.
#ifndef KAVREL_EXPORT_TEXT_OUTPUT_H
#define KAVREL_EXPORT_TEXT_OUTPUT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>

namespace kavrel {

class TextOutput {
 public:
  explicit TextOutput(FILE *file);
  ~TextOutput() { Flush(); }
  TextOutput(const TextOutput &) = delete;
  TextOutput &operator=(const TextOutput &) = delete;

  void Text(std::string_view text);
  void Char(char c) {
    Room(1);
    block_[used_++] = c;
  }
  // NaN and infinities, which no reader takes, as 0.
  void Float(float value);
  void Unsigned(uint64_t value);
  // Hands the block to the file.
  void Flush();

 private:
  // Makes room for count more bytes (count <= kNumberRoom or the block's size).
  void Room(size_t count) {
    if (used_ + count > kBlockSize) Flush();
  }

  static constexpr size_t kBlockSize = size_t{1} << 20;
  static constexpr size_t kNumberRoom = 32;    // the longest number text, with room to spare

  FILE *file_;
  std::unique_ptr<char[]> block_;
  size_t used_ = 0;                            // bytes of block_ not yet handed to the file
};

}  // namespace kavrel

#endif
