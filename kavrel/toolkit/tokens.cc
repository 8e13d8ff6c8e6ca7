// Kv_Inquire_Token and the word table behind it.
#include "kavrel/toolkit/tokens.h"

#include "host/kv_toolkit.h"
#include "kavrel/toolkit/call_recorder.h"

namespace kavrel {
namespace {

constexpr intptr_t kTagMask = static_cast<intptr_t>(0xFFFF000000000000ULL);

}  // namespace

Kv_Token TokenTable::Intern(std::string_view word) {
  auto it = tokens_.find(word);
  if (it != tokens_.end()) return it->second;
  Kv_Token token = kTokenTag | static_cast<intptr_t>(words_.size());
  words_.emplace_back(word);
  tokens_.emplace(words_.back(), token);
  return token;
}

const std::string *TokenTable::Word(intptr_t value) const {
  if ((value & kTagMask) != kTokenTag) return nullptr;
  intptr_t index = value & ~kTagMask;
  if (index >= static_cast<intptr_t>(words_.size())) return nullptr;
  return &words_[static_cast<size_t>(index)];
}

}  // namespace kavrel

extern "C" Kv_Token Kv_Inquire_Token(const char *word) {
  kavrel::Host &host = kavrel::CurrentHost();
  kavrel::CallRecorder call(host, "Kv_Inquire_Token", kavrel::CallEffect::kLeavesMeshes);
  if (!call.text(word, "word")) return 0;
  return host.tokens().Intern(word);
}
