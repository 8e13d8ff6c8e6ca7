// Decoding of the toolkit's attribute lists through the attribute table.
#ifndef KAVREL_TOOLKIT_ATTRIBUTE_DECODER_H
#define KAVREL_TOOLKIT_ATTRIBUTE_DECODER_H

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/host_records.h"
#include "kavrel/host.h"
#include "kavrel/toolkit/attribute_table.h"

namespace kavrel {

// Reads the pointer-sized entries of a list: optionally a first entry that
// the call received as a named argument, then the variadic ones.
class ListReader {
 public:
  explicit ListReader(va_list args) { va_copy(args_, args); }
  ListReader(intptr_t first, va_list args) : has_first_(true), first_(first) { va_copy(args_, args); }
  ~ListReader() { va_end(args_); }
  ListReader(const ListReader &) = delete;
  ListReader &operator=(const ListReader &) = delete;

  intptr_t next() {
    if (has_first_) {
      has_first_ = false;
      return first_;
    }
    return va_arg(args_, intptr_t);
  }

 private:
  bool has_first_ = false;
  intptr_t first_ = 0;
  va_list args_;
};

// Declares `reader`, a ListReader over the entries after the named argument
// `last` (KAVREL_LIST_AFTER) or starting with it (KAVREL_LIST_FROM). The
// reader holds its own copy of the arguments, so the original ends here.
#define KAVREL_LIST_AFTER(last, reader) \
  va_list reader##_args;                \
  va_start(reader##_args, last);        \
  ::kavrel::ListReader reader(reader##_args); \
  va_end(reader##_args)
#define KAVREL_LIST_FROM(first, reader) \
  va_list reader##_args;                \
  va_start(reader##_args, first);       \
  ::kavrel::ListReader reader(first, reader##_args); \
  va_end(reader##_args)

// The floats of an attribute, at most a matrix's, held in place: a
// conversion decodes millions of them.
class AttributeFloats {
 public:
  static constexpr size_t kCapacity = 16;

  // Keeps the first kCapacity of them.
  void assign(const float *first, const float *last) {
    size_ = std::min(static_cast<size_t>(last - first), kCapacity);
    std::copy(first, first + size_, values_.begin());
  }
  const float *begin() const { return values_.data(); }
  const float *end() const { return values_.data() + size_; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  float operator[](size_t i) const { return values_[i]; }

 private:
  std::array<float, kCapacity> values_{};
  size_t size_ = 0;
};

// One decoded attribute: its rule and the value that followed its path.
struct Attribute {
  const AttributeRule *rule = nullptr;
  const std::string *word = nullptr;  // kToken: the value's word
  std::string text;                   // kText, kTypedPath: the string
  AttributeFloats floats;             // kFloats
  int64_t integer = 0;                // kInt32, kTypedPath: the integer
  void *out = nullptr;                // kOut*: where the answer goes

  Attr id() const { return rule->id; }
  bool on() const { return word && *word == "on"; }
  float number() const { return floats.empty() ? 0.0f : floats[0]; }
  Vec3 vec3() const { return floats.size() >= 3 ? Vec3{floats[0], floats[1], floats[2]} : Vec3{0, 0, 0}; }
};

// True for values that may be addresses: not a token, not a small integer.
bool IsAddress(intptr_t value);

class TokenTable;

// A short description of a list entry for messages: "the list end", "token \"on\"" ...
std::string DescribeEntry(const TokenTable &tokens, intptr_t value);

// Walks the list up to its end, tokens from the table, appending one journal item per entry (to
// items, unless null) and one Attribute per attribute. On bad input stops at once, never reading
// past a 0, and returns the problem; returns "" for a clean list.
std::string DecodeAttributeList(const TokenTable &tokens, Family family, ListReader &reader,
                                std::vector<JournalItem> *items, std::vector<Attribute> &attributes);

}  // namespace kavrel

#endif
