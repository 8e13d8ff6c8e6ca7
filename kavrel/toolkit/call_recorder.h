// One toolkit call on its way in: its arguments decoded into a journal
// entry and attributes, and the first problem found, reported once.
#ifndef KAVREL_TOOLKIT_CALL_RECORDER_H
#define KAVREL_TOOLKIT_CALL_RECORDER_H

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "kavrel/host.h"
#include "kavrel/toolkit/attribute_decoder.h"

namespace kavrel {

class CallRecorder {
 public:
  // Begins the call on host (see Host::BeginCall); call is the call's
  // name, a string literal.
  CallRecorder(Host &host, const char *call, CallEffect effect = CallEffect::kMayChangeMeshes);
  ~CallRecorder();  // finishes the call
  CallRecorder(const CallRecorder &) = delete;
  CallRecorder &operator=(const CallRecorder &) = delete;

  // Named arguments, journaled in order. Each answers false, with the
  // problem recorded, when the argument is unusable (a null pointer, a
  // value that is not a token of the expected kind).
  bool text(const char *value, const char *what);
  bool kind(intptr_t token, Attr *kind);
  bool pointer(const void *value, const char *what);
  bool floats(const float *values, int count, const char *what);
  void slot(const void *value);  // a pointer the call may ignore, null or not
  void integers(std::initializer_list<int64_t> values);

  // Decodes the attribute list; false when it was refused part-way (the
  // attributes decoded before the problem stay available).
  bool list(Family family, ListReader &reader);
  const std::vector<Attribute> &attributes() const { return attributes_; }

  // Records a problem found while applying the call; the first one wins.
  void fail(const std::string &problem);
  bool failed() const { return !entry_.error.empty(); }

  Host &host() const { return host_; }

  // Journals the call and reports its problem at level 4, once. Answers 0
  // for a call that decoded and applied cleanly, 1 otherwise.
  int finish();

 private:
  // Builds a journal item only when the journal keeps calls: a conversion
  // makes millions of calls that nobody reads back.
  template <typename Make>
  void Note(Make make) {
    if (journaled_) entry_.items.push_back(make());
  }

  Host &host_;
  const bool journaled_;
  JournalEntry entry_;
  std::string subject_;  // the first text argument, to name the call in reports
  std::vector<Attribute> attributes_;
  bool finished_ = false;
};

// The entity of that name, or nullptr with the problem recorded.
template <typename T, typename Items>
T *FindNamed(CallRecorder &call, NamedTable<T, Items> &table, const std::string &name, const char *kind) {
  T *item = table.find(name);
  if (!item) call.fail(std::string("no ") + kind + " named \"" + name + "\"");
  return item;
}

// Index of the instance of that name in the call's scene, or kNone with
// the problem recorded.
int32_t FindInstance(CallRecorder &call, const std::string &name);

// The common frame of Kv_Surface, Kv_Texture, Kv_Light and Kv_Camera: the
// entity's name, its list decoded through the table, then, when anything
// decoded, apply(call) changes the entity with the decoded attributes (also
// those that came before a bad entry). None of them touches a mesh.
template <typename Apply>
int DefineWithAttributes(Host &host, const char *call_name, const char *what, Family family, const char *name,
                         ListReader &list, Apply apply) {
  CallRecorder call(host, call_name, CallEffect::kLeavesMeshes);
  if (!call.text(name, what)) return call.finish();
  if (!call.list(family, list) && call.attributes().empty()) return call.finish();
  apply(call);
  return call.finish();
}

}  // namespace kavrel

#endif
