#include "kavrel/toolkit/call_recorder.h"

#include "kavrel/toolkit/journal_items.h"
#include "kavrel/toolkit/tokens.h"

namespace kavrel {

CallRecorder::CallRecorder(const char *call) { entry_.call = call; }

bool CallRecorder::text(const char *value, const char *what) {
  if (!value) {
    entry_.items.push_back(PointerItem());
    fail(std::string(what) + " is a null pointer");
    return false;
  }
  if (subject_.empty()) subject_ = value;
  entry_.items.push_back(StringItem(value));
  return true;
}

bool CallRecorder::kind(intptr_t token, Attr *kind) {
  const std::string *word = TokenWord(token);
  if (!word) {
    fail("expected a kind token, found " + DescribeEntry(token));
    return false;
  }
  entry_.items.push_back(TokenItem(*word));
  const PathInfo *info = FindPath(Family::kEntityKind, *word);
  if (!info || !info->rule) {
    fail("\"" + *word + "\" is not a kind of entity");
    return false;
  }
  *kind = info->rule->id;
  return true;
}

bool CallRecorder::pointer(const void *value, const char *what) {
  entry_.items.push_back(PointerItem());
  if (value) return true;
  fail(std::string(what) + " is a null pointer");
  return false;
}

void CallRecorder::slot(const void *) { entry_.items.push_back(PointerItem()); }

bool CallRecorder::floats(const float *values, int count, const char *what) {
  if (!values) return pointer(values, what);
  entry_.items.push_back(FloatsItem(values, static_cast<size_t>(count)));
  return true;
}

void CallRecorder::integers(std::initializer_list<int64_t> values) { entry_.items.push_back(IntsItem(values)); }

bool CallRecorder::list(Family family, ListReader &reader) {
  std::string problem = DecodeAttributeList(family, reader, entry_.items, attributes_);
  if (problem.empty()) return true;
  fail(problem);
  return false;
}

void CallRecorder::fail(const std::string &problem) {
  if (entry_.error.empty()) entry_.error = problem;
}

int CallRecorder::finish() {
  if (finished_) return failed() ? 1 : 0;
  finished_ = true;
  if (failed()) {
    std::string subject = subject_.empty() ? "" : "\"" + subject_ + "\"";
    report_sinks().error(4, entry_.call + "(" + subject + "): " + entry_.error);
  }
  int status = failed() ? 1 : 0;
  journal().add(std::move(entry_));
  return status;
}

int32_t FindInstance(CallRecorder &call, const std::string &name) {
  int32_t index = scene().instances.find_index(name);
  if (index == kNone) call.fail("no instance named \"" + name + "\"");
  return index;
}

}  // namespace kavrel
