#include "kavrel/export/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "kavrel/export/json_value.h"

namespace kavrel {
namespace {

// True for text that goes into a JSON string as it is.
bool Plain(const std::string &text) {
  for (unsigned char c : text)
    if (c < 0x20 || c >= 0x7f || c == '"' || c == '\\') return false;
  return true;
}

}  // namespace

void JsonWriter::Separate() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  const uint64_t bit = uint64_t{1} << (depth_ & 63);
  if (has_elements_ & bit) out_->push_back(',');
  has_elements_ |= bit;
}

void JsonWriter::Open(char bracket) {
  Separate();
  out_->push_back(bracket);
  ++depth_;
  has_elements_ &= ~(uint64_t{1} << (depth_ & 63));
}

void JsonWriter::Close(char bracket) {
  out_->push_back(bracket);
  --depth_;
}

void JsonWriter::Key(const char *key) {
  Separate();
  out_->push_back('"');
  out_->append(key);
  out_->append("\":");
  after_key_ = true;
}

void JsonWriter::String(const std::string &text) {
  Separate();
  if (!Plain(text)) {
    // Escapes and invalid UTF-8 are rare: the JSON library handles them.
    out_->append(Json(text).dump(-1, ' ', false, Json::error_handler_t::replace));
    return;
  }
  out_->push_back('"');
  out_->append(text);
  out_->push_back('"');
}

void JsonWriter::Number(float value) {
  Separate();
  if (!std::isfinite(value)) {
    out_->append("null");
    return;
  }
  char text[32];
  const char *end = std::to_chars(text, text + sizeof text, value).ptr;
  out_->append(text, static_cast<size_t>(end - text));
  // Written as a float, so that it reads back as one.
  if (std::memchr(text, '.', end - text) == nullptr && std::memchr(text, 'e', end - text) == nullptr)
    out_->append(".0");
}

void JsonWriter::Integer(int64_t value) {
  Separate();
  char text[24];
  out_->append(text, static_cast<size_t>(std::to_chars(text, text + sizeof text, value).ptr - text));
}

void JsonWriter::Bool(bool value) {
  Separate();
  out_->append(value ? "true" : "false");
}

void JsonWriter::Floats(const float *values, size_t count) {
  BeginArray();
  for (size_t i = 0; i < count; ++i) Number(values[i]);
  EndArray();
}

void JsonWriter::Raw(const std::string &json) {
  Separate();
  out_->append(json);
}

}  // namespace kavrel
