// Builders of journal items, shared by the decoder and the call recorder.
#ifndef KAVREL_TOOLKIT_JOURNAL_ITEMS_H
#define KAVREL_TOOLKIT_JOURNAL_ITEMS_H

#include <string>
#include <vector>

#include "kavrel/host.h"

namespace kavrel {

inline JournalItem MarkerItem(JournalItem::Kind kind) { return JournalItem{kind, {}, {}, {}}; }
inline JournalItem TokenItem(const std::string &word) { return JournalItem{JournalItem::kToken, word, {}, {}}; }
inline JournalItem StringItem(const std::string &text) { return JournalItem{JournalItem::kString, text, {}, {}}; }
inline JournalItem PointerItem() { return MarkerItem(JournalItem::kPointer); }
inline JournalItem FloatsItem(const float *values, size_t count) {
  return JournalItem{JournalItem::kFloats, {}, std::vector<float>(values, values + count), {}};
}
inline JournalItem IntsItem(std::vector<int64_t> values) {
  return JournalItem{JournalItem::kInts, {}, {}, std::move(values)};
}

}  // namespace kavrel

#endif
