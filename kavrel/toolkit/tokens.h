// The toolkit's tokens: interned keywords. A token is kTokenTag plus the
// word's index, a value no pointer, small integer or list marker can take,
// so the attribute decoder can tell a token from anything else in a list.
#ifndef KAVREL_TOOLKIT_TOKENS_H
#define KAVREL_TOOLKIT_TOKENS_H

#include <cstdint>
#include <string>

#include "host/host_records.h"

namespace kavrel {

constexpr intptr_t kTokenTag = static_cast<intptr_t>(0x4B56000000000000LL);  // "KV" in the top bytes

// The token of word, interned on first use.
Kv_Token InternToken(const std::string &word);

// The word of a token; nullptr when value is not a token handed out.
const std::string *TokenWord(intptr_t value);

inline bool IsToken(intptr_t value) { return TokenWord(value) != nullptr; }

}  // namespace kavrel

#endif
