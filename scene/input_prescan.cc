#include "scene/input_prescan.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "scene/binary_file_names.h"
#include "scene/name_values.h"

namespace {

// Longest file name kept; no system opens a longer path.
constexpr size_t kMaxFileName = 4096;

// The bytes that end a word, looked up per byte of the input.
struct Delimiters {
  bool table[256] = {};
  constexpr Delimiters() {
    for (const char *c = " \t\r\n{}[],\"#"; *c; ++c) table[static_cast<unsigned char>(*c)] = true;
  }
  bool operator()(char c) const { return table[static_cast<unsigned char>(c)]; }
};
constexpr Delimiters kDelimiter;

// Bytes as the fast path through lists of numbers sees them: separators
// that only end a number, the bytes a number starts with, the other bytes
// of a word (a number's, or a word that is not a number), and the
// delimiters that mean more ({, }, [, ], ", #).
enum NumberByte : uint8_t { kSeparator, kNewline, kNumberStart, kInWord, kMeaningful };
struct NumberBytes {
  uint8_t table[256] = {};
  constexpr NumberBytes() {
    for (int c = 0; c < 256; ++c) table[c] = kDelimiter.table[c] ? kMeaningful : kInWord;
    for (const char *c = " \t\r,"; *c; ++c) table[static_cast<unsigned char>(*c)] = kSeparator;
    table[static_cast<unsigned char>('\n')] = kNewline;
    for (const char *c = "0123456789-+."; *c; ++c) table[static_cast<unsigned char>(*c)] = kNumberStart;
  }
  uint8_t operator()(char c) const { return table[static_cast<unsigned char>(c)]; }
};
constexpr NumberBytes kNumberByte;

// Of a word that is not a file name, as much as tells a keyword or a field.
constexpr size_t kWordKept = 64;

// A field that takes file names: "filename", "filenames" or "name".
constexpr size_t kLongestFileField = 9;
bool NamesFiles(const std::string &word) {
  if (word.size() < 4 || word.size() > kLongestFileField || (word[0] != 'f' && word[0] != 'n')) return false;
  return word == "filename" || word == "filenames" || word == "name";
}

class TokenScanner {
 public:
  // Takes the next bytes; false once a limit is passed (problem() says which).
  bool Feed(const char *bytes, size_t count) {
    const char *end = bytes + count;
    for (const char *at = bytes; at < end;) {
      if (!in_comment_ && !in_string_ && NumbersOnly()) {
        at = SkipNumbers(at, end);
        if (!at) return false;
        if (at == end) break;
      }
      // Comments and words are taken a run at a time.
      if (in_comment_) {
        const char *line_end = static_cast<const char *>(std::memchr(at, '\n', end - at));
        at = line_end ? line_end : end;
        in_comment_ = line_end == nullptr;
      } else if (!in_string_ && !kDelimiter(*at)) {
        const char *word_end = at;
        while (word_end < end && !kDelimiter(*word_end)) ++word_end;
        if (!TakeWordBytes(at, static_cast<size_t>(word_end - at))) return false;
        at = word_end;
      } else if (!Take(*at++)) {
        return false;
      }
    }
    return true;
  }
  InputPrescan Finish() {
    EndWord();
    return std::move(result_);
  }
  const std::string &problem() const { return result_.problem; }

 private:
  // Numbers are most of the words of a large file. Where nothing waits for
  // a value and no name field is declared, their text cannot name a file
  // or a name field: numbers and the separators between them change
  // nothing but the line and each number's length (towards the longest
  // name), and such a run is taken here at a table lookup a byte. A word
  // that starts like a number is one to its end. Returns the first byte of
  // something else, or nullptr once a limit is passed.
  bool NumbersOnly() const { return word_.empty() && expect_ == Expect::kNothing && names_.Quiet(); }
  const char *SkipNumbers(const char *at, const char *end) {
    // One well-predicted branch a byte: numbers are a few bytes long.
    bool in_word = in_number_, took_number = false;
    uint64_t lines = 0, length = length_;
    for (; at < end; ++at) {
      const uint8_t kind = kNumberByte(*at);
      if (kind == kMeaningful || (kind == kInWord && !in_word)) break;
      const bool separator = kind <= kNewline;
      lines += kind == kNewline;
      length = separator ? 0 : length + 1;
      took_number |= !separator;
      in_word = !separator;
      if (length > kMaxTokenLength) break;
    }
    line_ += lines;
    length_ = length;
    // in_number_: the number goes on in the next block. A number stands as
    // the last word by a text no word can be (a space): no field is named so.
    in_number_ = in_word && at == end;
    if (took_number) last_word_.assign(1, ' ');
    return length > kMaxTokenLength ? (Overlong(), nullptr) : at;
  }

  // One byte of a string, or a delimiter outside strings and comments.
  bool Take(char c) {
    in_number_ = false;
    if (c == '\n') ++line_;
    if (in_string_) return TakeInString(c);
    EndWord();
    length_ = 0;
    if (c == '#') in_comment_ = true;
    if (c == '"') in_string_ = true;
    if (c == '[') list_owner_ = last_word_;
    if (c == ']') list_owner_.clear();
    if (c == '[' && expect_ == Expect::kValue) expect_ = Expect::kList;
    if (c == ']' || c == '{' || c == '}') expect_ = Expect::kNothing;
    if (c == '}' && depth_ > 0) --depth_;
    if (c == '{' && ++depth_ > kMaxNestingDepth) return Fail("nodes nested more than " + std::to_string(kMaxNestingDepth) + " deep");
    return true;
  }

  // Part of a word (the rest may follow in the next block). Only a value
  // that names files is kept whole; of other words, enough to tell a
  // keyword or a field.
  bool TakeWordBytes(const char *bytes, size_t count) {
    const size_t keep = expect_ != Expect::kNothing ? kMaxFileName : kWordKept;
    if (word_.size() < keep) word_.append(bytes, std::min(count, keep - word_.size()));
    return Lengthen(count);
  }

  bool TakeInString(char c) {
    if (escaped_) {
      escaped_ = false;
      return Keep(c);
    }
    if (c == '\\') {
      escaped_ = true;
      return true;
    }
    if (c == '"') {
      in_string_ = false;
      Capture(word_);
      const bool overlong = length_ > kMaxTokenLength;
      length_ = 0;
      // Quoted strings of any length are read as strings, unless they are names.
      if (overlong && names_.NameFollows((list_owner_.empty() ? last_word_ : list_owner_).c_str())) return Overlong();
      return true;
    }
    return Keep(c);
  }

  bool Keep(char c) {
    if (expect_ != Expect::kNothing && word_.size() < kMaxFileName) word_ += c;
    ++length_;
    return true;
  }

  // A word ends: a keyword, a field name (that may take file names), or a value.
  void EndWord() {
    if (word_.empty()) return;
    last_word_.assign(word_, 0, kWordKept);
    names_.See(last_word_.c_str());
    if (expect_ != Expect::kNothing) {
      Capture(word_);
    } else if (NamesFiles(word_)) {
      expect_ = Expect::kValue;
    }
    word_.clear();
  }

  void Capture(std::string &value) {
    if (expect_ == Expect::kNothing) return;
    if (!value.empty()) result_.file_names.push_back(value);
    value.clear();
    if (expect_ == Expect::kValue) expect_ = Expect::kNothing;
  }

  // Coin3D takes every unquoted word that is not a number as a name.
  bool Lengthen(size_t count) {
    length_ += count;
    return length_ <= kMaxTokenLength || Overlong();
  }

  bool Overlong() { return Fail("a name longer than " + std::to_string(kMaxTokenLength) + " characters"); }

  bool Fail(const std::string &what) {
    result_.problem = what + " (line " + std::to_string(line_) + ")";
    return false;
  }

  enum class Expect { kNothing, kValue, kList };
  uint64_t line_ = 1, length_ = 0, depth_ = 0;
  bool in_comment_ = false, in_string_ = false, escaped_ = false, in_number_ = false;
  Expect expect_ = Expect::kNothing;
  std::string word_;
  std::string last_word_;   // the last unquoted word, cut to kWordKept
  std::string list_owner_;  // the word before the '[' of the list being read
  NameValues names_;
  InputPrescan result_;
};

// The header line says "binary" for Inventor's binary format.
bool IsBinaryHeader(const char *bytes, size_t count) {
  const char *end = static_cast<const char *>(std::memchr(bytes, '\n', count));
  const std::string header(bytes, end ? end : bytes + count);
  return header.rfind("#Inventor", 0) == 0 && header.find("binary") != std::string::npos;
}

}  // namespace

InputPrescan PrescanInput(const char *path) {
  gzFile file = gzopen(path, "rb");
  if (!file) return {};  // the reader reports what it cannot open
  std::vector<char> buffer(1 << 16);
  TokenScanner scanner;
  BinaryFileNames binary;
  bool first = true, is_binary = false;
  int count = 0;
  while ((count = gzread(file, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0) {
    if (first) is_binary = IsBinaryHeader(buffer.data(), static_cast<size_t>(count));
    first = false;
    if (is_binary) {
      binary.Feed(buffer.data(), static_cast<size_t>(count));
    } else if (!scanner.Feed(buffer.data(), static_cast<size_t>(count))) {
      break;
    }
  }
  gzclose(file);
  if (is_binary) return {"", binary.Finish()};
  return scanner.Finish();
}
