#include "vrml_reader.h"

#include <sys/stat.h>

#include <cctype>
#include <cstring>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

namespace kavrel_test {
namespace {

using NodePtr = std::shared_ptr<VrmlNode>;

std::string ReadAll(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool IsNumber(const std::string &token) {
  return !token.empty() && (std::isdigit(static_cast<unsigned char>(token[0])) || token[0] == '-' ||
                            token[0] == '+' || token[0] == '.');
}

// ---- The classic encoding ----

struct Token {
  std::string text;
  bool quoted = false;                         // a string; text without its quotes
};

std::vector<Token> Tokenize(const std::string &text) {
  std::vector<Token> tokens;
  for (size_t at = 0; at < text.size();) {
    const char c = text[at];
    if (std::isspace(static_cast<unsigned char>(c)) || c == ',') {
      ++at;
    } else if (c == '#') {
      at = text.find('\n', at);
    } else if (c == '"') {
      Token token{"", true};
      for (++at; at < text.size() && text[at] != '"'; ++at) {
        if (text[at] == '\\' && at + 1 < text.size()) ++at;
        token.text += text[at];
      }
      ++at;
      tokens.push_back(token);
    } else if (std::string("{}[]").find(c) != std::string::npos) {
      tokens.push_back({std::string(1, c)});
      ++at;
    } else {
      const size_t end = text.find_first_of(" \t\r\n,{}[]\"#", at);
      tokens.push_back({text.substr(at, end - at)});
      at = end;
    }
  }
  return tokens;
}

class ClassicParser {
 public:
  ClassicParser(std::vector<Token> tokens, VrmlFile &file) : tokens_(std::move(tokens)), file_(file) {}

  void Parse() {
    file_.root = std::make_shared<VrmlNode>();
    file_.root->type = "Scene";
    while (at_ < tokens_.size() && file_.error.empty()) file_.root->children.push_back(Node());
  }

 private:
  const Token &Next() {
    static const Token kEnd{"<end of file>"};
    if (at_ >= tokens_.size()) {
      Fail("unexpected end of file");
      return kEnd;
    }
    return tokens_[at_++];
  }
  const Token *Peek(size_t ahead = 0) const { return at_ + ahead < tokens_.size() ? &tokens_[at_ + ahead] : nullptr; }
  void Fail(const std::string &why) {
    if (file_.error.empty()) file_.error = why + " at token " + std::to_string(at_);
  }

  // Whether the tokens from here start a node.
  bool AtNode() const {
    const Token *t = Peek(), *after = Peek(1);
    if (t == nullptr || t->quoted) return false;
    return t->text == "DEF" || t->text == "USE" || (after != nullptr && !after->quoted && after->text == "{");
  }

  NodePtr Node() {
    auto node = std::make_shared<VrmlNode>();
    std::string word = Next().text;
    if (word == "USE") {
      node->use = Next().text;
      auto def = file_.defs.find(node->use);
      if (def != file_.defs.end()) node->type = def->second->type;
      return node;
    }
    if (word == "DEF") {
      node->def = Next().text;
      word = Next().text;
    }
    node->type = word;
    if (Next().text != "{") Fail("no { after " + word);
    if (!node->def.empty()) {
      file_.defs[node->def] = node.get();
      file_.def_order.push_back(node->def);
    }
    while (file_.error.empty() && Peek() != nullptr && Peek()->text != "}") Field(*node);
    Next();
    return node;
  }

  void Field(VrmlNode &node) {
    const std::string field = Next().text;
    if (AtNode()) {
      node.children.push_back(Node());
      return;
    }
    std::vector<std::string> values;
    const bool list = Peek() != nullptr && Peek()->text == "[" && !Peek()->quoted;
    if (list) Next();
    while (file_.error.empty() && Peek() != nullptr) {
      if (list && Peek()->text == "]" && !Peek()->quoted) {
        Next();
        break;
      }
      if (list && AtNode()) {
        node.children.push_back(Node());
        continue;
      }
      const Token &t = *Peek();
      const bool value = t.quoted || IsNumber(t.text) || t.text == "TRUE" || t.text == "FALSE";
      if (!value) {
        if (list) Fail("unexpected " + t.text + " in " + field);
        break;
      }
      Next();
      values.push_back(t.quoted ? t.text : t.text == "TRUE" ? "true" : t.text == "FALSE" ? "false" : t.text);
    }
    if (!values.empty()) node.values[field] = values;
  }

  std::vector<Token> tokens_;
  size_t at_ = 0;
  VrmlFile &file_;
};

// ---- The XML encoding ----

std::string Unescape(const std::string &text) {
  static const std::pair<const char *, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&apos;", '\''}, {"&quot;", '"'}};
  std::string out;
  for (size_t at = 0; at < text.size();) {
    bool replaced = false;
    for (const auto &[entity, c] : kEntities) {
      if (text.compare(at, std::strlen(entity), entity) == 0) {
        out += c;
        at += std::strlen(entity);
        replaced = true;
        break;
      }
    }
    if (!replaced) out += text[at++];
  }
  return out;
}

// An attribute's values: the strings of an MFString ("a" "b"), the whole
// text of an SFString, or the words of anything else.
std::vector<std::string> AttributeValues(const std::string &name, const std::string &text) {
  std::vector<std::string> values;
  if (name == "description") return {text};
  if (!text.empty() && text[0] == '"') {
    for (const Token &token : Tokenize(text)) values.push_back(token.text);
    return values;
  }
  std::istringstream words(text);
  for (std::string word; words >> word;) values.push_back(word);
  return values;
}

class XmlParser {
 public:
  XmlParser(std::string text, VrmlFile &file) : text_(std::move(text)), file_(file) {}

  void Parse() {
    file_.root = std::make_shared<VrmlNode>();
    file_.root->type = "Scene";
    std::vector<VrmlNode *> open;              // elements inside Scene, outermost first
    int outside = 0;                           // elements open around Scene (X3D) and beside it
    bool in_scene = false;
    while (file_.error.empty()) {
      const size_t lt = text_.find('<', at_);
      if (lt == std::string::npos) break;
      at_ = lt;
      if (Skip("<?", "?>") || Skip("<!--", "-->") || Skip("<!", ">")) continue;
      if (text_.compare(at_, 2, "</") == 0) {
        at_ = text_.find('>', at_) + 1;
        if (!open.empty()) {
          open.pop_back();
        } else if (in_scene) {
          in_scene = false;
        } else {
          --outside;
        }
        continue;
      }
      bool empty = false;
      const NodePtr element = Element(&empty);
      if (!in_scene && element->type == "Scene") {
        in_scene = !empty;
      } else if (in_scene) {
        (open.empty() ? *file_.root : *open.back()).children.push_back(element);
        if (!empty) open.push_back(element.get());
      } else if (!empty) {
        ++outside;
      }
    }
  }

 private:
  bool Skip(const char *begin, const char *end) {
    if (text_.compare(at_, std::strlen(begin), begin) != 0) return false;
    const size_t close = text_.find(end, at_);
    if (close == std::string::npos) file_.error = std::string("no ") + end;
    at_ = close == std::string::npos ? text_.size() : close + std::strlen(end);
    return true;
  }

  NodePtr Element(bool *empty) {
    auto node = std::make_shared<VrmlNode>();
    const size_t name_end = text_.find_first_of(" \t\r\n/>", at_);
    node->type = text_.substr(at_ + 1, name_end - at_ - 1);
    at_ = name_end;
    for (;;) {
      at_ = text_.find_first_not_of(" \t\r\n", at_);
      if (at_ == std::string::npos) {
        file_.error = "unended element " + node->type;
        at_ = text_.size();
        return node;
      }
      if (text_[at_] == '>' || text_.compare(at_, 2, "/>") == 0) break;
      const size_t equals = text_.find('=', at_);
      const size_t quote = text_.find_first_not_of(" \t\r\n", equals + 1);
      const size_t close = quote == std::string::npos ? quote : text_.find(text_[quote], quote + 1);
      if (equals == std::string::npos || close == std::string::npos || (text_[quote] != '\'' && text_[quote] != '"')) {
        file_.error = "bad attribute in " + node->type;
        at_ = text_.size();
        return node;
      }
      std::string name = text_.substr(at_, equals - at_);
      name.erase(name.find_last_not_of(" \t\r\n") + 1);
      Attribute(*node, name, Unescape(text_.substr(quote + 1, close - quote - 1)));
      at_ = close + 1;
    }
    *empty = text_[at_] == '/';
    at_ = text_.find('>', at_) + 1;
    return node;
  }

  void Attribute(VrmlNode &node, const std::string &name, const std::string &value) {
    if (name == "DEF") {
      node.def = value;
      file_.defs[value] = &node;
      file_.def_order.push_back(value);
    } else if (name == "USE") {
      node.use = value;
    } else if (name != "containerField") {
      node.values[name] = AttributeValues(name, value);
    }
  }

  std::string text_;
  size_t at_ = 0;
  VrmlFile &file_;
};

// ---- Checks ----

bool Exists(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool ValidIdentifier(const std::string &name) {
  static const std::set<std::string> kKeywords = {"DEF", "USE", "TRUE", "FALSE", "NULL", "PROTO", "ROUTE", "IS", "TO"};
  if (name.empty() || kKeywords.count(name) != 0) return false;
  const unsigned char first = static_cast<unsigned char>(name[0]);
  if (std::isdigit(first) || first == '-') return false;
  for (unsigned char c : name) {
    if (c < 0x80 && !std::isalnum(c) && c != '_' && c != '-') return false;
  }
  return true;
}

// An IndexedFaceSet (corners 3), IndexedLineSet (2) or PointSet (0: no index).
void CheckGeometry(const VrmlFile &file, const VrmlNode &geometry, size_t corners,
                   std::vector<std::string> *problems) {
  const std::string where = geometry.type + " " + geometry.def + ": ";
  const VrmlNode *coord = geometry.Child("Coordinate");
  if (coord == nullptr) {
    problems->push_back(where + "no Coordinate");
    return;
  }
  const size_t points = file.Resolve(*coord).Numbers("point").size() / 3;
  const std::vector<double> index = geometry.Numbers("coordIndex");
  if (corners == 0 && !index.empty()) problems->push_back(where + "a coordIndex");
  const size_t stride = corners + 1;
  for (size_t i = 0; corners > 0 && i < index.size(); ++i) {
    const bool end = i % stride == corners;
    if (end != (index[i] == -1)) {
      problems->push_back(where + "primitive " + std::to_string(i / stride) + " has not " + std::to_string(corners) +
                          " corners ended by -1");
      return;
    }
    if (!end && !(index[i] >= 0 && index[i] < points)) {
      problems->push_back(where + "index " + std::to_string(index[i]) + " outside " + std::to_string(points) +
                          " points");
      return;
    }
  }
  if (corners > 0 && index.size() % stride != 0) problems->push_back(where + "coordIndex does not end a primitive");
  const std::pair<const char *, std::pair<const char *, size_t>> attributes[] = {
      {"Normal", {"vector", 3}}, {"TextureCoordinate", {"point", 2}}, {"Color", {"color", 3}}};
  for (const auto &[type, field] : attributes) {
    const VrmlNode *node = geometry.Child(type);
    if (node == nullptr) continue;
    const size_t count = file.Resolve(*node).Numbers(field.first).size() / field.second;
    if (count != points) {
      problems->push_back(where + type + " has " + std::to_string(count) + ", not " + std::to_string(points));
    }
  }
}

void CheckNames(const VrmlFile &file, std::vector<std::string> *problems) {
  std::set<std::string> seen;
  for (const std::string &name : file.def_order) {
    if (!seen.insert(name).second) problems->push_back("DEF " + name + " repeated");
    if (!ValidIdentifier(name)) problems->push_back("DEF '" + name + "' is no valid identifier");
  }
  // USE only after the DEF, in file order.
  std::set<std::string> defined;
  std::function<void(const VrmlNode &)> walk = [&](const VrmlNode &node) {
    if (!node.use.empty() && defined.count(node.use) == 0) problems->push_back("USE " + node.use + " before its DEF");
    if (!node.def.empty()) defined.insert(node.def);
    for (const NodePtr &child : node.children) walk(*child);
  };
  walk(*file.root);
}

// The primitives of a geometry node whose coordIndex holds corners indices
// and a -1 for each; with corners 0, the points of its Coordinate.
long Primitives(const VrmlNode &geometry, size_t corners) {
  if (corners > 0) return static_cast<long>(geometry.Numbers("coordIndex").size() / (corners + 1));
  const VrmlNode *coord = geometry.Child("Coordinate");
  return coord == nullptr ? 0 : static_cast<long>(coord->Numbers("point").size() / 3);
}

}  // namespace

std::vector<double> VrmlNode::Numbers(const std::string &field) const {
  std::vector<double> numbers;
  auto it = values.find(field);
  if (it == values.end()) return numbers;
  for (const std::string &value : it->second) numbers.push_back(std::stod(value));
  return numbers;
}

const VrmlNode *VrmlNode::Child(const std::string &type) const {
  for (const NodePtr &child : children) {
    if (child->type == type) return child.get();
  }
  return nullptr;
}

const VrmlNode &VrmlFile::Resolve(const VrmlNode &node) const {
  if (node.use.empty()) return node;
  auto it = defs.find(node.use);
  return it == defs.end() ? node : *it->second;
}

VrmlFile ReadVrmlFile(const std::string &path) {
  VrmlFile file;
  const std::string text = ReadAll(path);
  const bool xml = path.size() > 4 && path.substr(path.size() - 4) == ".x3d";
  if (xml) {
    if (text.rfind("<?xml", 0) != 0) file.error = "no XML declaration";
    XmlParser(text, file).Parse();
  } else {
    if (text.rfind("#VRML V2.0 utf8", 0) != 0) file.error = "no VRML97 header";
    ClassicParser(Tokenize(text), file).Parse();
  }
  return file;
}

std::vector<const VrmlNode *> AllNodes(const VrmlNode &node) {
  std::vector<const VrmlNode *> nodes{&node};
  for (size_t i = 0; i < nodes.size(); ++i) {
    for (const NodePtr &child : nodes[i]->children) nodes.push_back(child.get());
  }
  return nodes;
}

std::vector<std::string> VrmlProblems(const VrmlFile &file, const std::string &directory) {
  std::vector<std::string> problems;
  if (!file.error.empty()) return {file.error};
  CheckNames(file, &problems);
  for (const VrmlNode *node : AllNodes(*file.root)) {
    if (!node->use.empty()) continue;
    if (node->type == "IndexedFaceSet") CheckGeometry(file, *node, 3, &problems);
    if (node->type == "IndexedLineSet") CheckGeometry(file, *node, 2, &problems);
    if (node->type == "PointSet") CheckGeometry(file, *node, 0, &problems);
    if (node->type != "ImageTexture") continue;
    auto url = node->values.find("url");
    if (url == node->values.end() || url->second.empty()) {
      problems.push_back("ImageTexture " + node->def + " has no url");
    } else if (!Exists(directory + "/" + url->second[0])) {
      problems.push_back("ImageTexture " + node->def + ": no file " + url->second[0]);
    }
  }
  return problems;
}

std::map<std::string, long> VrmlCounts(const VrmlFile &file) {
  static const std::map<std::string, std::string> kCounted = {
      {"Transform", "nodes"},       {"IndexedFaceSet", "meshes"},   {"IndexedLineSet", "meshes"},
      {"PointSet", "meshes"},       {"Material", "materials"},      {"ImageTexture", "textures"},
      {"DirectionalLight", "lights"}, {"PointLight", "lights"},     {"SpotLight", "lights"},
      {"Viewpoint", "cameras"}};
  std::map<std::string, long> counts{{"nodes", 0},    {"meshes", 0}, {"triangles", 0}, {"materials", 0},
                                     {"textures", 0}, {"lights", 0}, {"cameras", 0}};
  for (const VrmlNode *node : AllNodes(*file.root)) {
    auto counted = kCounted.find(node->type);
    if (!node->use.empty() || counted == kCounted.end()) continue;
    ++counts[counted->second];
    if (node->type == "IndexedFaceSet") counts["triangles"] += Primitives(*node, 3);
    if (node->type == "IndexedLineSet") counts["lines"] += Primitives(*node, 2);
    if (node->type == "PointSet") counts["points"] += Primitives(*node, 0);
  }
  // As the summary line names them: only when there are any.
  for (const char *kind : {"lines", "points"}) {
    if (counts[kind] == 0) counts.erase(kind);
  }
  return counts;
}

long PlacedTriangles(const VrmlFile &file) {
  long triangles = 0;
  std::function<void(const VrmlNode &)> walk = [&](const VrmlNode &node) {
    const VrmlNode &real = file.Resolve(node);
    if (real.type == "IndexedFaceSet") triangles += Primitives(real, 3);
    for (const NodePtr &child : real.children) walk(*child);
  };
  walk(*file.root);
  return triangles;
}

}  // namespace kavrel_test
