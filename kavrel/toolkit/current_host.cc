// The one way from the plug-in's C calls to the Host they change.
#include "kavrel/host.h"

namespace kavrel {
namespace {

struct CurrentSlot {
  Host *installed = nullptr;                   // of the innermost CurrentHostScope
  std::unique_ptr<Host> fallback;              // for a process that installs none
};

CurrentSlot &current_slot() {
  static CurrentSlot slot;
  return slot;
}

}  // namespace

Host &CurrentHost() {
  CurrentSlot &slot = current_slot();
  if (slot.installed) return *slot.installed;
  if (!slot.fallback) slot.fallback = std::make_unique<Host>();
  return *slot.fallback;
}

CurrentHostScope::CurrentHostScope(Host &host) : previous_(current_slot().installed) {
  current_slot().installed = &host;
}

CurrentHostScope::~CurrentHostScope() { current_slot().installed = previous_; }

}  // namespace kavrel
