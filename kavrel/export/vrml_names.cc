// DEF names that both encodings and their readers take: VRML97 allows more
// characters than XML names do (and Coin3D fewer than VRML97), so only
// letters, digits, '_' and '-' are kept, with the non-ASCII letters XML
// allows.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "kavrel/export/vrml_stages.h"

namespace kavrel {
namespace {

// Words that may not name a node in VRML97 or X3D's classic encoding.
constexpr std::string_view kKeywords[] = {
    "AS",       "COMPONENT", "DEF",     "EXPORT",       "EXTERNPROTO",    "FALSE",       "IMPORT",
    "IS",       "META",      "NULL",    "PROFILE",      "PROTO",          "ROUTE",       "TO",
    "TRUE",     "UNIT",      "USE",     "eventIn",      "eventOut",       "exposedField", "field",
    "inputOnly", "outputOnly", "inputOutput", "initializeOnly",
};

struct CodePoint {
  uint32_t value = 0;
  size_t length = 1;                           // bytes it takes
  bool valid = false;                          // well-formed UTF-8, not an overlong or surrogate form
};

CodePoint DecodeUtf8(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  CodePoint cp;
  const unsigned char lead = byte(at);
  if (lead < 0x80) return {lead, 1, true};
  const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || lead >= 0xF8 || at + length > text.size()) return cp;
  uint32_t value = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return cp;
    value = (value << 6) | (byte(at + i) & 0x3F);
  }
  static const uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return cp;
  return {value, length, true};
}

// A non-ASCII code point that may start an XML name.
bool XmlNameStart(uint32_t c) {
  return (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
         (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) ||
         (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
         (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

// A non-ASCII code point that may stand in an XML name after its start.
bool XmlNameRest(uint32_t c) {
  return XmlNameStart(c) || c == 0xB7 || (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

bool AsciiNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

bool IsKeyword(std::string_view name) {
  for (std::string_view keyword : kKeywords) {
    if (name == keyword) return true;
  }
  return false;
}

}  // namespace

std::string VrmlIdentifier(const std::string &name) {
  std::string out;
  bool starts_well = false;                    // the first character may start a name
  for (size_t at = 0; at < name.size();) {
    const CodePoint cp = DecodeUtf8(name, at);
    const bool first = out.empty();
    if (cp.valid && cp.value < 0x80 ? AsciiNameChar(name[at]) : cp.valid && XmlNameRest(cp.value)) {
      out.append(name, at, cp.length);
      if (first) starts_well = cp.value < 0x80 ? !(name[at] >= '0' && name[at] <= '9') && name[at] != '-'
                                               : XmlNameStart(cp.value);
    } else {
      out += '_';
      if (first) starts_well = true;
    }
    at += cp.valid ? cp.length : 1;
  }
  if (out.empty()) return "unnamed";
  if (!starts_well || IsKeyword(out)) out.insert(out.begin(), '_');
  return out;
}

std::string VrmlNames::Unique(const std::string &name) {
  const std::string base = VrmlIdentifier(name);
  // References into the map stay valid while it grows.
  int &last = taken_[base];
  if (last == 0) {
    last = 1;
    return base;
  }
  for (;;) {
    std::string numbered = base + "_" + std::to_string(++last);
    int &taken = taken_[numbered];
    if (taken == 0) {
      taken = 1;
      return numbered;
    }
  }
}

}  // namespace kavrel
