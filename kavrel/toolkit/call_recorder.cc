#include "kavrel/toolkit/call_recorder.h"

#include <new>

#include "kavrel/toolkit/journal_items.h"
#include "kavrel/toolkit/tokens.h"

namespace kavrel {

namespace {

// Attribute lists of calls that have ended, kept with their room for the
// next calls on the same thread (a call made while another runs takes a
// list of its own). A fresh list of 16 attributes is a block of 2 KB,
// which the C library's allocator takes from its arena under the arena's
// lock: with the mesh thread freeing meshes into that arena, the
// plug-in's thread waited on the lock at every call.
thread_local std::vector<std::vector<Attribute>> spare_lists;
constexpr size_t kSpareLists = 8;

}  // namespace

CallRecorder::CallRecorder(Host &host, const char *call, CallEffect effect)
    : host_(host), journaled_(host.journal().enabled()) {
  entry_.call = call;
  entry_.thread = std::this_thread::get_id();
  if (!spare_lists.empty()) {
    attributes_ = std::move(spare_lists.back());
    spare_lists.pop_back();
  }
  host.BeginCall(effect);
}

CallRecorder::~CallRecorder() {
  finish();
  attributes_.clear();
  if (spare_lists.size() >= kSpareLists) return;
  try {
    spare_lists.push_back(std::move(attributes_));
  } catch (const std::bad_alloc &) {
    // No room to keep it: the list is freed with the call.
  }
}

bool CallRecorder::text(const char *value, const char *what) {
  if (!value) {
    Note([&] { return PointerItem(); });
    fail(std::string(what) + " is a null pointer");
    return false;
  }
  if (subject_.empty()) subject_ = value;
  Note([&] { return StringItem(value); });
  return true;
}

bool CallRecorder::kind(intptr_t token, Attr *kind) {
  const std::string *word = host_.tokens().Word(token);
  if (!word) {
    fail("expected a kind token, found " + DescribeEntry(host_.tokens(), token));
    return false;
  }
  Note([&] { return TokenItem(*word); });
  const PathInfo *info = FindPath(Family::kEntityKind, *word);
  if (!info || !info->rule) {
    fail("\"" + *word + "\" is not a kind of entity");
    return false;
  }
  *kind = info->rule->id;
  return true;
}

bool CallRecorder::pointer(const void *value, const char *what) {
  Note([&] { return PointerItem(); });
  if (value) return true;
  fail(std::string(what) + " is a null pointer");
  return false;
}

void CallRecorder::slot(const void *) { Note([&] { return PointerItem(); }); }

bool CallRecorder::floats(const float *values, int count, const char *what) {
  if (!values) return pointer(values, what);
  Note([&] { return FloatsItem(values, static_cast<size_t>(count)); });
  return true;
}

void CallRecorder::integers(std::initializer_list<int64_t> values) { Note([&] { return IntsItem(values); }); }

bool CallRecorder::list(Family family, ListReader &reader) {
  std::string problem =
      DecodeAttributeList(host_.tokens(), family, reader, journaled_ ? &entry_.items : nullptr, attributes_);
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
    host_.ReportError(4, std::string(entry_.call) + "(" + subject + "): " + entry_.error);
  }
  int status = failed() ? 1 : 0;
  host_.journal().add(std::move(entry_));
  return status;
}

int32_t FindInstance(CallRecorder &call, const std::string &name) {
  int32_t index = call.host().scene().instances.find_index(name);
  if (index == kNone) call.fail("no instance named \"" + name + "\"");
  return index;
}

}  // namespace kavrel
