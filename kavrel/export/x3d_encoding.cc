// X3D's XML encoding: nodes as elements, value fields as attributes, each
// child node in its type's default container field (the fields the
// traversal names), so field names of nodes are not written.
#include "kavrel/export/vrml_stages.h"

namespace kavrel {
namespace {

class XmlEncoding : public VrmlEncoding {
 public:
  explicit XmlEncoding(TextOutput &out) : VrmlEncoding(out, false) {}

  void BeginFile() override {
    out_.Text("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    out_.Text("<X3D profile='Immersive' version='3.3' xmlns:xsd='http://www.w3.org/2001/XMLSchema-instance' "
              "xsd:noNamespaceSchemaLocation='http://www.web3d.org/specifications/x3d-3.3.xsd'>");
    depth_ = 1;
    NewLine();
    out_.Text("<Scene>");
    depth_ = 2;
  }

  void EndFile() override {
    depth_ = 1;
    NewLine();
    out_.Text("</Scene>\n</X3D>\n");
  }

  void Comment(std::string_view text) override {
    EndStartTag();
    NewLine();
    out_.Text("<!-- ");
    // "--" may not stand in a comment.
    char last = 0;
    for (char c : text) {
      if (c == '-' && last == '-') out_.Char(' ');
      out_.Char(c == '\n' || c == '\r' ? ' ' : c);
      last = c;
    }
    out_.Text(" -->");
  }

  void BeginNodes(const char *) override {}
  void EndNodes() override {}

  void BeginNode(const char *, const char *type, const std::string &def) override {
    EndStartTag();
    NewLine();
    out_.Char('<');
    out_.Text(type);
    if (!def.empty()) Attribute("DEF", def);
    open_.push_back(type);
    in_start_tag_ = true;
    ++depth_;
  }

  void EndNode() override {
    --depth_;
    if (in_start_tag_) {
      out_.Text("/>");
      in_start_tag_ = false;
    } else {
      NewLine();
      out_.Text("</");
      out_.Text(open_.back());
      out_.Char('>');
    }
    open_.pop_back();
  }

  void Use(const char *, const char *type, const std::string &name) override {
    EndStartTag();
    NewLine();
    out_.Char('<');
    out_.Text(type);
    Attribute("USE", name);
    out_.Text("/>");
  }

  void Bool(const char *field, bool value) override { Attribute(field, value ? "true" : "false"); }

  void String(const char *field, std::string_view value) override { Attribute(field, value); }

  void Strings(const char *field, const std::vector<std::string> &values) override {
    // Each string in double quotes inside the attribute, with its own
    // quotes and backslashes escaped by a backslash.
    std::string list;
    for (const std::string &value : values) {
      if (!list.empty()) list += ' ';
      list += '"';
      for (char c : value) {
        if (c == '"' || c == '\\') list += '\\';
        list += c;
      }
      list += '"';
    }
    Attribute(field, list);
  }

  void BeginValues(const char *field, bool multiple) override {
    out_.Char(' ');
    out_.Text(field);
    out_.Text("='");
    StartValues(multiple);
  }

  void EndValues() override { out_.Char('\''); }

 private:
  // Ends the start tag of the innermost element, which gets a child.
  void EndStartTag() {
    if (!in_start_tag_) return;
    out_.Char('>');
    in_start_tag_ = false;
  }

  void Attribute(const char *name, std::string_view value) {
    out_.Char(' ');
    out_.Text(name);
    out_.Text("='");
    for (char c : value) Escaped(c);
    out_.Char('\'');
  }

  void Escaped(char c) {
    switch (c) {
      case '&': out_.Text("&amp;"); return;
      case '<': out_.Text("&lt;"); return;
      case '>': out_.Text("&gt;"); return;
      case '\'': out_.Text("&apos;"); return;
      default: break;
    }
    // XML 1.0 has no other control characters than tab and line breaks.
    const unsigned char byte = static_cast<unsigned char>(c);
    out_.Char(byte < 0x20 && c != '\t' && c != '\n' && c != '\r' ? ' ' : c);
  }

  std::vector<const char *> open_;             // the types of the elements open, outermost first
  bool in_start_tag_ = false;                  // the innermost element's start tag is not ended yet
};

}  // namespace

std::unique_ptr<VrmlEncoding> MakeXmlEncoding(TextOutput &out) { return std::make_unique<XmlEncoding>(out); }

}  // namespace kavrel
