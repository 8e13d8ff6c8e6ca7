// The call journal: every call the plug-in makes into the host, decoded.
#include <cstdio>

#include "kavrel/host.h"

namespace kavrel {
namespace {

void AppendNumber(std::string &out, float value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(value));
  out += buffer;
}

void AppendNumber(std::string &out, int64_t value) { out += std::to_string(static_cast<long long>(value)); }

template <typename T>
void AppendNumbers(std::string &out, const std::vector<T> &values, char open, char close) {
  out += open;
  for (size_t i = 0; i < values.size(); ++i) {
    if (i) out += ' ';
    AppendNumber(out, values[i]);
  }
  out += close;
}

void AppendItem(std::string &out, const JournalItem &item) {
  switch (item.kind) {
    case JournalItem::kToken: out += item.text; break;
    case JournalItem::kString: out += '"' + item.text + '"'; break;
    case JournalItem::kFloats: AppendNumbers(out, item.floats, '[', ']'); break;
    case JournalItem::kInts: AppendNumbers(out, item.ints, '<', '>'); break;
    case JournalItem::kGroupEnd: out += '|'; break;
    case JournalItem::kListEnd: out += '.'; break;
    case JournalItem::kPointer: out += item.text.empty() ? "*" : "*" + item.text; break;
  }
}

}  // namespace

// Kv_Surface("red" color rgb [1 0 0] | shadingcoeffs diffuse [0.4] .)
// Strings are quoted, floats in [], integers in <>, output pointers *,
// group ends |, the list end "."; a refused call ends with "!! <error>".
std::string JournalEntry::to_string() const {
  std::string out = std::string(call) + "(";
  for (size_t i = 0; i < items.size(); ++i) {
    if (i) out += ' ';
    AppendItem(out, items[i]);
  }
  out += ')';
  if (!error.empty()) out += " !! " + error;
  return out;
}

void Journal::add(JournalEntry entry) {
  if (enabled_) entries_.push_back(std::move(entry));
}

std::vector<const JournalEntry *> Journal::calls(const std::string &call) const {
  std::vector<const JournalEntry *> found;
  for (const JournalEntry &entry : entries_) {
    if (entry.call == call) found.push_back(&entry);
  }
  return found;
}

}  // namespace kavrel
