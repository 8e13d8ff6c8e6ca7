// The one walker of attribute lists: keyword paths through the attribute
// table, values by the kind the table gives, journal items on the way.
#include "kavrel/toolkit/attribute_decoder.h"

#include <array>
#include <cstring>

#include "kavrel/toolkit/journal_items.h"
#include "kavrel/toolkit/tokens.h"

namespace kavrel {
namespace {

// Addresses below the first page and from the token tag up are never
// valid, so small integers, list markers and tokens are refused as pointers.
constexpr intptr_t kLowestAddress = 4096;
constexpr intptr_t kHighestAddress = static_cast<intptr_t>(1) << 56;

// The keywords of the current path: the words of tokens, whose addresses
// the token table keeps. No path in the table is longer than this.
constexpr size_t kMaxPathWords = 8;
struct Scope {
  std::array<const std::string *, kMaxPathWords> words{};
  size_t size = 0;
};

// The first count keywords of scope and then word, space separated, in
// path (whose room is kept from call to call: lists are decoded by the
// million, keyword by keyword).
const std::string &JoinPath(const Scope &scope, size_t count, const std::string &word) {
  thread_local std::string path;
  path.clear();
  for (size_t i = 0; i < count; ++i) {
    path += *scope.words[i];
    path += ' ';
  }
  path += word;
  return path;
}

std::string Joined(const Scope &scope) { return JoinPath(scope, scope.size - 1, *scope.words[scope.size - 1]); }

std::string Quoted(const std::string &text) { return "\"" + text + "\""; }

// Appends the journal item that make() builds; builds none for a call
// that is not journaled.
template <typename Make>
void Note(std::vector<JournalItem> *items, Make make) {
  if (items) items->push_back(make());
}

// Reads the value of one attribute after its path.
class ValueReader {
 public:
  ValueReader(const TokenTable &tokens, ListReader &reader, std::vector<JournalItem> *items)
      : tokens_(tokens), reader_(reader), items_(items) {}

  std::string read(const AttributeRule &rule, Attribute &attribute) {
    switch (rule.value) {
      case ValueKind::kFlag: return "";
      case ValueKind::kToken: return token(rule, attribute);
      case ValueKind::kText: return text(attribute);
      case ValueKind::kFloats: return floats(rule.count, attribute);
      case ValueKind::kInt32: return int32(attribute);
      case ValueKind::kTypedPath: return typed_path(attribute);
      case ValueKind::kOutInt32:
      case ValueKind::kOutToken:
      case ValueKind::kOutImageInfo: return output(attribute);
    }
    return "unsupported value kind";
  }

 private:
  // The next entry, or false with the problem when the list ends there.
  bool next(intptr_t *value, std::string *error) {
    *value = reader_.next();
    if (*value != KV_LIST_END) return true;
    Note(items_, [&] { return MarkerItem(JournalItem::kListEnd); });
    *error = "value missing before the list end";
    return false;
  }

  std::string token(const AttributeRule &rule, Attribute &attribute) {
    intptr_t value;
    std::string error;
    if (!next(&value, &error)) return error;
    const std::string *word = tokens_.Word(value);
    if (!word) return "expected a token, found " + DescribeEntry(tokens_, value);
    Note(items_, [&] { return TokenItem(*word); });
    if (!AllowsChoice(rule, *word)) return Quoted(*word) + " is not one of: " + rule.choices;
    attribute.word = word;
    return "";
  }

  std::string address(const char *what, intptr_t *value) {
    std::string error;
    if (!next(value, &error)) return error;
    if (!IsAddress(*value)) return std::string("expected ") + what + ", found " + DescribeEntry(tokens_, *value);
    return "";
  }

  std::string text(Attribute &attribute) {
    intptr_t value;
    std::string error = address("text", &value);
    if (!error.empty()) return error;
    attribute.text = reinterpret_cast<const char *>(value);
    Note(items_, [&] { return StringItem(attribute.text); });
    return "";
  }

  std::string floats(int count, Attribute &attribute) {
    intptr_t value;
    std::string error = address("a pointer to floats", &value);
    if (!error.empty()) return error;
    if (count < 0 || static_cast<size_t>(count) > AttributeFloats::kCapacity) {
      return "more floats than an attribute holds";
    }
    const float *values = reinterpret_cast<const float *>(value);
    attribute.floats.assign(values, values + count);
    Note(items_, [&] { return FloatsItem(values, static_cast<size_t>(count)); });
    return "";
  }

  std::string int32(Attribute &attribute) {
    intptr_t value;
    std::string error = address("a pointer to an integer", &value);
    if (!error.empty()) return error;
    int32_t number;
    std::memcpy(&number, reinterpret_cast<const void *>(value), sizeof number);
    attribute.integer = number;
    Note(items_, [&] { return IntsItem({number}); });
    return "";
  }

  // An integer by value (where 1 is a value, not a group end), then text.
  std::string typed_path(Attribute &attribute) {
    intptr_t value;
    std::string error;
    if (!next(&value, &error)) return error;
    if (tokens_.IsToken(value)) return "expected an integer, found " + DescribeEntry(tokens_, value);
    attribute.integer = value;
    Note(items_, [&] { return IntsItem({static_cast<int64_t>(value)}); });
    return text(attribute);
  }

  std::string output(Attribute &attribute) {
    intptr_t value;
    std::string error = address("an answer pointer", &value);
    if (!error.empty()) return error;
    attribute.out = reinterpret_cast<void *>(value);
    Note(items_, [&] { return PointerItem(); });
    return "";
  }

  const TokenTable &tokens_;
  ListReader &reader_;
  std::vector<JournalItem> *items_;  // null: nothing is journaled
};

// The state of one walk: the keyword path of the current group.
class ListWalker {
 public:
  ListWalker(const TokenTable &tokens, Family family, ListReader &reader, std::vector<JournalItem> *items,
             std::vector<Attribute> &attributes)
      : tokens_(tokens), family_(family), reader_(reader), items_(items), attributes_(attributes) {}

  std::string walk() {
    for (;;) {
      intptr_t entry = reader_.next();
      if (entry == KV_LIST_END || entry == KV_GROUP_END) {
        Note(items_, [&] { return MarkerItem(entry == KV_LIST_END ? JournalItem::kListEnd : JournalItem::kGroupEnd); });
        if (dangling_) return "keywords missing after " + Quoted(Joined(scope_));
        flush_pending();
        if (entry == KV_LIST_END) return "";
        scope_.size = 0;
        continue;
      }
      std::string error = keyword(entry);
      if (!error.empty()) return error;
    }
  }

 private:
  std::string where() const {
    return scope_.size == 0 ? "" : " after " + Quoted(Joined(scope_));
  }

  std::string keyword(intptr_t entry) {
    const std::string *word = tokens_.Word(entry);
    if (!word) return "expected a keyword" + where() + ", found " + DescribeEntry(tokens_, entry);
    Note(items_, [&] { return TokenItem(*word); });

    // The longest part of the current path that this keyword continues.
    size_t kept = scope_.size;
    const PathInfo *info = FindPath(family_, JoinPath(scope_, kept, *word));
    while (!info && kept > 0) info = FindPath(family_, JoinPath(scope_, --kept, *word));
    if (!info) return "unknown keyword " + Quoted(*word) + where();
    if (kept < scope_.size) {
      if (dangling_) return "keywords missing" + where();
      flush_pending();
    }
    if (kept == kMaxPathWords) return "keyword path too long" + where();
    pending_ = nullptr;  // a flag that the path continued past was only a prefix
    scope_.size = kept;
    scope_.words[scope_.size++] = word;

    dangling_ = info->rule == nullptr;
    if (dangling_) return "";
    const AttributeRule &rule = *info->rule;
    if (rule.value == ValueKind::kFlag) {
      if (info->continues) {
        pending_ = &rule;
      } else {
        attributes_.push_back(Attribute{&rule, nullptr, {}, {}, 0, nullptr});
      }
      return "";
    }
    Attribute attribute;
    attribute.rule = &rule;
    std::string error = ValueReader(tokens_, reader_, items_).read(rule, attribute);
    if (!error.empty()) return error + " for " + Quoted(Joined(scope_));
    attributes_.push_back(std::move(attribute));
    return "";
  }

  void flush_pending() {
    if (pending_) attributes_.push_back(Attribute{pending_, nullptr, {}, {}, 0, nullptr});
    pending_ = nullptr;
  }

  const TokenTable &tokens_;
  Family family_;
  ListReader &reader_;
  std::vector<JournalItem> *items_;  // null: nothing is journaled
  std::vector<Attribute> &attributes_;
  Scope scope_;                               // keywords of the current path
  const AttributeRule *pending_ = nullptr;    // a flag whose path may still continue
  bool dangling_ = false;                     // the path so far names no attribute yet
};

}  // namespace

bool IsAddress(intptr_t value) { return value >= kLowestAddress && value < kHighestAddress; }

std::string DescribeEntry(const TokenTable &tokens, intptr_t value) {
  if (value == KV_LIST_END) return "the list end";
  if (value == KV_GROUP_END) return "the group end";
  if (const std::string *word = tokens.Word(value)) return "token " + Quoted(*word);
  if (IsAddress(value)) return "a pointer";
  return "the number " + std::to_string(static_cast<long long>(value));
}

std::string DecodeAttributeList(const TokenTable &tokens, Family family, ListReader &reader,
                                std::vector<JournalItem> *items, std::vector<Attribute> &attributes) {
  // Room for the longest lists the plug-in sends (a surface's), in one go.
  attributes.reserve(attributes.size() + 16);
  return ListWalker(tokens, family, reader, items, attributes).walk();
}

}  // namespace kavrel
