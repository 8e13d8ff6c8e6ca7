// What both encodings write alike: numbers, tuples and indentation.
#include <algorithm>

#include "kavrel/export/vrml_stages.h"

namespace kavrel {
namespace {

constexpr int kDeepestIndent = 32;             // levels; a hierarchy nested deeper is indented no further

}  // namespace

void VrmlEncoding::NewLine() {
  out_.Char('\n');
  for (int level = std::min(depth_, kDeepestIndent); level > 0; --level) out_.Text("  ");
}

void VrmlEncoding::StartValues(bool multiple) {
  multiple_ = multiple;
  first_tuple_ = true;
}

void VrmlEncoding::StartTuple() {
  // Tuples start their lines unindented: a large mesh has millions, and
  // their indentation would make a sixth of the file.
  if (multiple_ && (!first_tuple_ || first_on_new_line_)) out_.Char('\n');
  first_tuple_ = false;
}

void VrmlEncoding::Tuple(const float *values, int count) {
  StartTuple();
  for (int i = 0; i < count; ++i) {
    if (i > 0) out_.Char(' ');
    out_.Float(values[i]);
  }
}

void VrmlEncoding::Integer(int64_t value) {
  StartTuple();
  if (value < 0) out_.Char('-');
  out_.Unsigned(value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value));
}

void VrmlEncoding::Indices(const uint32_t *indices, int count) {
  StartTuple();
  for (int i = 0; i < count; ++i) {
    out_.Unsigned(indices[i]);
    out_.Char(' ');
  }
  out_.Text("-1");
}

void VrmlEncoding::Field(const char *field, const float *values, int count) {
  BeginValues(field, false);
  Tuple(values, count);
  EndValues();
}

}  // namespace kavrel
