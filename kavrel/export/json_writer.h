// JSON text written straight into a string, value by value: no tree of
// values is built. The writer puts the commas and colons; callers write
// keys and values in order. Floats print in their shortest exact form and
// read back as the same float; strings are escaped, and bytes that are not
// UTF-8 (names from the input may be in any 8-bit encoding) are replaced.
#ifndef KAVREL_EXPORT_JSON_WRITER_H
#define KAVREL_EXPORT_JSON_WRITER_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace kavrel {

class JsonWriter {
 public:
  explicit JsonWriter(std::string *out) : out_(out) {}

  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }

  // A key of this program's own (plain ASCII, nothing to escape).
  void Key(const char *key);
  void String(const std::string &text);
  void Number(float value);
  void Integer(int64_t value);
  void Bool(bool value);
  void Floats(const float *values, size_t count);  // as an array
  // A value that is already JSON text.
  void Raw(const std::string &json);

  template <typename T>
  void Field(const char *key, const T &value) {
    Key(key);
    Value(value);
  }

 private:
  void Value(const std::string &text) { String(text); }
  void Value(const char *text) { String(text); }
  void Value(float value) { Number(value); }
  void Value(int value) { Integer(value); }
  void Value(int64_t value) { Integer(value); }
  void Value(size_t value) { Integer(static_cast<int64_t>(value)); }
  void Value(bool value) { Bool(value); }

  void Open(char bracket);
  void Close(char bracket);
  // A comma before every element of a container but its first.
  void Separate();

  std::string *out_;
  uint64_t has_elements_ = 0;                  // bit d: the container at depth d has an element already
  int depth_ = 0;
  bool after_key_ = false;                     // the next value is a key's
};

}  // namespace kavrel

#endif
