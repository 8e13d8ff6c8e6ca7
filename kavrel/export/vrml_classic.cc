// VRML97's classic encoding: "#VRML V2.0 utf8", then nodes as
// `DEF name Type { field value ... }`, multiple values in brackets.
#include "kavrel/export/vrml_stages.h"

namespace kavrel {
namespace {

class ClassicEncoding : public VrmlEncoding {
 public:
  explicit ClassicEncoding(TextOutput &out) : VrmlEncoding(out, true) {}

  void BeginFile() override { out_.Text("#VRML V2.0 utf8\n"); }
  void EndFile() override { out_.Char('\n'); }

  void Comment(std::string_view text) override {
    NewLine();
    out_.Text("# ");
    // A comment ends at the line's end.
    for (char c : text) out_.Char(c == '\n' || c == '\r' ? ' ' : c);
  }

  void BeginNodes(const char *field) override {
    FieldName(field);
    out_.Char('[');
    ++depth_;
  }

  void EndNodes() override { Close(']'); }

  void BeginNode(const char *field, const char *type, const std::string &def) override {
    FieldName(field);
    if (!def.empty()) {
      out_.Text("DEF ");
      out_.Text(def);
      out_.Char(' ');
    }
    out_.Text(type);
    out_.Text(" {");
    ++depth_;
  }

  void EndNode() override { Close('}'); }

  void Use(const char *field, const char *, const std::string &name) override {
    FieldName(field);
    out_.Text("USE ");
    out_.Text(name);
  }

  void Bool(const char *field, bool value) override {
    FieldName(field);
    out_.Text(value ? "TRUE" : "FALSE");
  }

  void String(const char *field, std::string_view value) override {
    FieldName(field);
    Quoted(value);
  }

  void Strings(const char *field, const std::vector<std::string> &values) override {
    FieldName(field);
    // One value needs no brackets.
    if (values.size() != 1) out_.Text("[ ");
    for (size_t i = 0; i < values.size(); ++i) {
      if (i > 0) out_.Char(' ');
      Quoted(values[i]);
    }
    if (values.size() != 1) out_.Text(" ]");
  }

  void BeginValues(const char *field, bool multiple) override {
    FieldName(field);
    if (multiple) {
      out_.Char('[');
      ++depth_;
    }
    StartValues(multiple);
    multiple_field_ = multiple;
  }

  void EndValues() override {
    if (multiple_field_) Close(']');
  }

 private:
  // A new line with the field's name (nothing more for a node in a list).
  void FieldName(const char *field) {
    NewLine();
    if (field == nullptr) return;
    out_.Text(field);
    out_.Char(' ');
  }

  void Close(char bracket) {
    --depth_;
    NewLine();
    out_.Char(bracket);
  }

  void Quoted(std::string_view text) {
    out_.Char('"');
    for (char c : text) {
      if (c == '"' || c == '\\') out_.Char('\\');
      out_.Char(c);
    }
    out_.Char('"');
  }

  bool multiple_field_ = false;                // the open values are in brackets
};

}  // namespace

std::unique_ptr<VrmlEncoding> MakeClassicEncoding(TextOutput &out) { return std::make_unique<ClassicEncoding>(out); }

}  // namespace kavrel
