#include "kavrel/export/text_output.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace kavrel {

TextOutput::TextOutput(FILE *file) : file_(file), block_(new char[kBlockSize]) {}

void TextOutput::Text(std::string_view text) {
  if (text.size() > kBlockSize) {
    Flush();
    std::fwrite(text.data(), 1, text.size(), file_);
    return;
  }
  Room(text.size());
  std::memcpy(&block_[used_], text.data(), text.size());
  used_ += text.size();
}

void TextOutput::Float(float value) {
  Room(kNumberRoom);
  if (!std::isfinite(value)) value = 0;
  char *at = &block_[used_];
  used_ = static_cast<size_t>(std::to_chars(at, at + kNumberRoom, value).ptr - block_.get());
}

void TextOutput::Unsigned(uint64_t value) {
  Room(kNumberRoom);
  char *at = &block_[used_];
  used_ = static_cast<size_t>(std::to_chars(at, at + kNumberRoom, value).ptr - block_.get());
}

void TextOutput::Flush() {
  if (used_ > 0) std::fwrite(block_.get(), 1, used_, file_);
  used_ = 0;
}

}  // namespace kavrel
