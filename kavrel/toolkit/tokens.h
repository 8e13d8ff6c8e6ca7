// The toolkit's tokens: interned keywords. A token is kTokenTag plus the
// word's index, a value no pointer, small integer or list marker can take,
// so the attribute decoder can tell a token from anything else in a list.
#ifndef KAVREL_TOOLKIT_TOKENS_H
#define KAVREL_TOOLKIT_TOKENS_H

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

#include "host/host_records.h"

namespace kavrel {

constexpr intptr_t kTokenTag = static_cast<intptr_t>(0x4B56000000000000LL);  // "KV" in the top bytes

class TokenTable {
 public:
  TokenTable() = default;
  TokenTable(const TokenTable &) = delete;  // the keys view the words
  TokenTable &operator=(const TokenTable &) = delete;

  // The token of word, interned on first use.
  Kv_Token Intern(std::string_view word);

  // The word of a token; nullptr when value is not a token handed out.
  const std::string *Word(intptr_t value) const;

  bool IsToken(intptr_t value) const { return Word(value) != nullptr; }

 private:
  std::deque<std::string> words_;  // stable addresses: Word hands them out, tokens_ keys view them
  // A plug-in asks for tokens dozens of times a shape: looking a word up
  // copies nothing.
  std::unordered_map<std::string_view, intptr_t> tokens_;
};

}  // namespace kavrel

#endif
