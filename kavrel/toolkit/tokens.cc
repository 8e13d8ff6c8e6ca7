// Kv_Inquire_Token and the word table behind it.
#include "kavrel/toolkit/tokens.h"

#include <deque>
#include <unordered_map>

#include "host/kv_toolkit.h"
#include "kavrel/toolkit/call_recorder.h"

namespace kavrel {
namespace {

constexpr intptr_t kTagMask = static_cast<intptr_t>(0xFFFF000000000000ULL);

struct WordTable {
  std::deque<std::string> words;  // stable addresses: TokenWord hands them out
  std::unordered_map<std::string, intptr_t> tokens;
};

WordTable &word_table() {
  static WordTable table;
  return table;
}

}  // namespace

Kv_Token InternToken(const std::string &word) {
  WordTable &table = word_table();
  auto it = table.tokens.find(word);
  if (it != table.tokens.end()) return it->second;
  Kv_Token token = kTokenTag | static_cast<intptr_t>(table.words.size());
  table.words.push_back(word);
  table.tokens.emplace(word, token);
  return token;
}

const std::string *TokenWord(intptr_t value) {
  if ((value & kTagMask) != kTokenTag) return nullptr;
  const WordTable &table = word_table();
  intptr_t index = value & ~kTagMask;
  if (index >= static_cast<intptr_t>(table.words.size())) return nullptr;
  return &table.words[static_cast<size_t>(index)];
}

}  // namespace kavrel

extern "C" Kv_Token Kv_Inquire_Token(const char *word) {
  kavrel::CallRecorder call("Kv_Inquire_Token");
  if (!call.text(word, "word")) return 0;
  return kavrel::InternToken(word);
}
