#include "scene/binary_file_names.h"

namespace {

// Longest file name kept; no system opens a longer path.
constexpr uint32_t kMaxFileName = 4096;

std::string Encoded(const std::string &name) {
  const size_t length = name.size();
  std::string bytes = {'\0', '\0', '\0', static_cast<char>(length)};
  bytes += name;
  return bytes + std::string((4 - length % 4) % 4, '\0');
}

const std::string kFileName = Encoded("filename");
const std::string kFileNames = Encoded("filenames");
const std::string kName = Encoded("name");

bool EndsWith(const std::string &text, const std::string &end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

void BinaryFileNames::Feed(const char *bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) Take(bytes[i]);
}

void BinaryFileNames::Take(char c) {
  if (step_ == Step::kSearch) {
    window_ += c;
    if (window_.size() > kFileNames.size()) window_.erase(0, 1);
    Match();
    return;
  }
  pending_ += c;
  uint32_t value = 0;
  if (step_ == Step::kCount && Word(&value)) {
    values_left_ = value;
    step_ = value > 0 ? Step::kLength : Step::kSearch;
  } else if (step_ == Step::kLength && Word(&value)) {
    name_length_ = value;
    step_ = value > 0 && value <= kMaxFileName ? Step::kName : Step::kSearch;
  } else if (step_ == Step::kName && pending_.size() == (name_length_ + 3) / 4 * 4) {
    names_.push_back(pending_.substr(0, name_length_));
    pending_.clear();
    step_ = --values_left_ > 0 ? Step::kLength : Step::kSearch;
  }
}

void BinaryFileNames::Match() {
  const bool list = EndsWith(window_, kFileNames);
  if (!list && !EndsWith(window_, kFileName) && !EndsWith(window_, kName)) return;
  window_.clear();
  pending_.clear();
  values_left_ = 1;
  step_ = list ? Step::kCount : Step::kLength;
}

// Reads a big-endian 32-bit word once four bytes are pending.
bool BinaryFileNames::Word(uint32_t *value) {
  if (pending_.size() < 4) return false;
  *value = 0;
  for (char byte : pending_) *value = *value << 8 | static_cast<unsigned char>(byte);
  pending_.clear();
  return true;
}
