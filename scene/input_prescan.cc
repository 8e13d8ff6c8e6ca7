#include "scene/input_prescan.h"

#include <zlib.h>

#include <cstring>
#include <vector>

namespace {

class TokenScanner {
 public:
  // Takes the next bytes; false once a limit is passed (problem() says which).
  bool Feed(const char *bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
      if (!Take(bytes[i])) return false;
    }
    return true;
  }
  const std::string &problem() const { return problem_; }

 private:
  bool Take(char c) {
    if (c == '\n') ++line_;
    if (in_comment_) {
      in_comment_ = c != '\n';
      return true;
    }
    if (in_string_) return TakeInString(c);
    if (std::strchr(" \t\r\n{}[],\"#", c) == nullptr) return Grow();
    length_ = 0;
    if (c == '#') in_comment_ = true;
    if (c == '"') in_string_ = true;
    if (c == '}' && depth_ > 0) --depth_;
    if (c == '{' && ++depth_ > kMaxNestingDepth) return Fail("nodes nested more than " + std::to_string(kMaxNestingDepth) + " deep");
    return true;
  }

  bool TakeInString(char c) {
    if (escaped_) {
      escaped_ = false;
      return Grow();
    }
    if (c == '\\') escaped_ = true;
    if (c == '"') {
      in_string_ = false;
      length_ = 0;
      return true;
    }
    return Grow();
  }

  bool Grow() {
    if (++length_ <= kMaxTokenLength) return true;
    return Fail("a name or string longer than " + std::to_string(kMaxTokenLength) + " characters");
  }

  bool Fail(const std::string &what) {
    problem_ = what + " (line " + std::to_string(line_) + ")";
    return false;
  }

  uint64_t line_ = 1, length_ = 0, depth_ = 0;
  bool in_comment_ = false, in_string_ = false, escaped_ = false;
  std::string problem_;
};

// The header line says "binary" for Inventor's binary format.
bool IsBinaryHeader(const char *bytes, size_t count) {
  const char *end = static_cast<const char *>(std::memchr(bytes, '\n', count));
  const std::string header(bytes, end ? end : bytes + count);
  return header.rfind("#Inventor", 0) == 0 && header.find("binary") != std::string::npos;
}

}  // namespace

std::string PrescanInput(const char *path) {
  gzFile file = gzopen(path, "rb");
  if (!file) return "";  // the reader reports what it cannot open
  std::vector<char> buffer(1 << 16);
  TokenScanner scanner;
  bool first = true;
  int count = 0;
  while ((count = gzread(file, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0) {
    if (first && IsBinaryHeader(buffer.data(), static_cast<size_t>(count))) break;
    first = false;
    if (!scanner.Feed(buffer.data(), static_cast<size_t>(count))) break;
  }
  gzclose(file);
  return scanner.problem();
}
