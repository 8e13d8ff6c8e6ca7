// Run control of the host: the abort request, the overwrite confirmer,
// environment values and the reset to a new host.
#include <atomic>
#include <unordered_map>

#include "kavrel/host.h"
#include "kavrel/toolkit/host_services.h"
#include "kavrel/toolkit/weld_ahead.h"

namespace kavrel {
namespace {

// Set from a signal handler: a lock-free atomic is async-signal-safe.
std::atomic<bool> abort_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the abort flag must be signal-safe");

std::function<bool(const std::string &)> &overwrite_confirmer() {
  static std::function<bool(const std::string &)> confirm = [](const std::string &) { return true; };
  return confirm;
}

std::unordered_map<std::string, int64_t> &environment() {
  static std::unordered_map<std::string, int64_t> values;
  return values;
}

}  // namespace

void RequestAbort() { abort_requested.store(true, std::memory_order_relaxed); }
void ClearAbortRequest() { abort_requested.store(false, std::memory_order_relaxed); }
bool AbortRequested() { return abort_requested.load(std::memory_order_relaxed); }

void SetOverwriteConfirmer(std::function<bool(const std::string &path)> confirm) {
  if (!confirm) confirm = [](const std::string &) { return true; };
  overwrite_confirmer() = std::move(confirm);
}

bool ConfirmOverwrite(const std::string &path) { return overwrite_confirmer()(path); }

void SetEnvironmentValue(const std::string &name, int64_t value) { environment()[name] = value; }

int64_t EnvironmentValue(const std::string &name) {
  auto it = environment().find(name);
  return it == environment().end() ? 0 : it->second;
}

void ResetHost() {
  DiscardImageOutput();
  weld_ahead().Forget();
  scene().clear();
  journal().clear();
  ClearAbortRequest();
}

}  // namespace kavrel
