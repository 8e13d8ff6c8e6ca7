#include "scene/guarded_input.h"

#include <Inventor/SoDB.h>
#include <Inventor/nodes/SoNode.h>
#include <Inventor/nodes/SoSeparator.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>

#include "scene/binary_value_size.h"
#include "scene/input_prescan.h"
#include "scene/large_stack.h"

namespace {

// Coin3D's reader makes room for a binary array by doubling an int
// capacity until the count fits, and allocates capacity x value size bytes
// computed as an int: above 2^30 values the doubling never ends, and where
// the product passes INT_MAX it wraps, and the values are copied past the
// end of a block too small. A count is checked against the size of the
// field's values once it is large enough to matter.
constexpr int kCountChecked = 1 << 20;

bool CoinCanAllocate(int count, size_t value_size) {
  if (count > (1 << 30)) return false;
  int64_t capacity = 1;
  while (capacity < count) capacity *= 2;
  return capacity * static_cast<int64_t>(value_size) <= std::numeric_limits<int>::max();
}

// Bytes of the file being read that are still to come; -1 when that is
// not known: no file, or a compressed one (Coin3D counts the bytes it
// inflated). Asked only of arrays above kCountChecked values.
int64_t BytesLeft(SoInput &input) {
  const char *name = input.getCurFileName();
  if (!name) return -1;
  std::ifstream file(name, std::ios::binary);
  unsigned char magic[3] = {0, 0, 0};
  if (!file.read(reinterpret_cast<char *>(magic), sizeof magic)) return -1;
  const bool gzip = magic[0] == 0x1f && magic[1] == 0x8b, bzip2 = magic[0] == 'B' && magic[1] == 'Z' && magic[2] == 'h';
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(name, error);
  if (gzip || bzip2 || error) return -1;
  return static_cast<int64_t>(size) - static_cast<int64_t>(input.getNumBytesRead());
}

// Stack kept free below the deepest name read: what Coin3D's reader uses
// between two names, its error reports and the unwinding.
constexpr size_t kStackReserve = size_t{16} << 20;

bool SameFile(const std::string &a, const std::string &b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error);
}

std::string FileName(const std::string &path) { return std::filesystem::path(path).filename().string(); }

}  // namespace

SoSeparator *GuardedInput::ReadAll() {
  earlier_handler_ = SoReadError::getHandlerCallback();
  earlier_data_ = SoReadError::getHandlerData();
  // Coin3D may throw out of the read (a damaged binary array count).
  struct Restore {
    GuardedInput &input;
    ~Restore() { SoReadError::setHandlerCallback(input.earlier_handler_, input.earlier_data_); }
  } restore{*this};
  SoReadError::setHandlerCallback(WatchReadError, this);
  return SoDB::readAll(this);
}

void GuardedInput::WatchReadError(const SoError *error, void *data) {
  GuardedInput &input = *static_cast<GuardedInput *>(data);
  if (input.open_files_.size() > 1 && input.include_error_.empty())
    input.include_error_ = error->getDebugString().getString();
  if (input.earlier_handler_) input.earlier_handler_(error, input.earlier_data_);
}

SbBool GuardedInput::openFile(const char *name, SbBool ok_if_not_found) {
  if (!SoInput::openFile(name, ok_if_not_found)) return FALSE;
  open_files_.assign(1, getCurFileName());
  return TRUE;
}

// Coin3D reads a name for every node it starts, at the node's depth in its
// recursion: the place to see that the stack is running out.
SbBool GuardedInput::read(SbName &name, SbBool valid_identifier) {
  if (!stopped_.empty()) return FALSE;
  if (LargeStackLeft() < kStackReserve)
    return Stop("nodes nested more than " + std::to_string(kMaxNestingDepth) + " deep");
  if (!SoInput::read(name, valid_identifier)) return FALSE;
  // In a binary file a node's type name comes before its fields' names,
  // and a field's name right before its value.
  if (isBinary()) {
    const SoType type = SoType::fromName(name);
    if (!type.isBad() && type.isDerivedFrom(SoNode::getClassTypeId())) {
      node_type_ = type;
      field_name_ = SbName();
    } else {
      field_name_ = name;
    }
  }
  return TRUE;
}

// A binary array's size comes as an int; so does an SFInt32 value, and a
// value that large is refused too (no scene needs one). Coin3D allocates
// the whole array before it reads a value, so an array that the rest of
// the file cannot hold (every value takes at least a byte) is refused
// before it costs up to 2 GB.
SbBool GuardedInput::read(int &value) {
  if (!SoInput::read(value)) return FALSE;
  if (value <= kCountChecked || !isBinary()) return TRUE;
  const std::string array = "a binary array of " + std::to_string(value) + " values";
  if (!CoinCanAllocate(value, BinaryValueSize(node_type_, field_name_)))
    return Stop(array + ", more than Coin3D's reader can take");
  const int64_t left = BytesLeft(*this);
  if (left >= 0 && value > left) return Stop(array + " in the last " + std::to_string(left) + " bytes of the file");
  return TRUE;
}

SbBool GuardedInput::pushFile(const char *name) {
  if (!stopped_.empty()) return FALSE;
  if (!SoInput::pushFile(name)) {
    missing_includes_.push_back(name);
    return FALSE;
  }
  const std::string full = getCurFileName();
  for (const std::string &open : open_files_) {
    if (!SameFile(open, full)) continue;
    std::string chain;
    for (const std::string &file : open_files_) chain += FileName(file) + " > ";
    SoInput::popFile();
    return Stop("'" + full + "' includes itself (" + chain + FileName(full) + ")");
  }
  open_files_.push_back(full);
  return TRUE;
}

SbBool GuardedInput::popFile() {
  if (!SoInput::popFile()) return FALSE;
  if (open_files_.size() > 1) open_files_.pop_back();
  return TRUE;
}

bool GuardedInput::Stop(const std::string &why) {
  if (stopped_.empty()) stopped_ = why;
  return false;
}
