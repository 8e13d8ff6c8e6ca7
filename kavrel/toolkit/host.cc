// The Host: one conversion's host side, its reports, its abort request and
// the settings it reads at each use.
#include "kavrel/host.h"

#include <cstdio>

#include "kavrel/image/image_file.h"
#include "kavrel/toolkit/import_state.h"
#include "kavrel/toolkit/mesh_queue.h"
#include "kavrel/toolkit/mesh_work_memo.h"
#include "kavrel/toolkit/output_drivers.h"
#include "kavrel/toolkit/tokens.h"
#include "kavrel/toolkit/weld_ahead.h"

namespace kavrel {

Host::Host(HostSettings settings)
    : settings_(std::move(settings)),
      tokens_(std::make_unique<TokenTable>()),
      texture_files_(std::make_unique<TextureFiles>(settings_.texture_roots)),
      welds_ahead_(std::make_unique<WeldAhead>()),
      mesh_work_memo_(std::make_unique<MeshWorkMemo>()),
      image_save_(std::make_unique<ImageSave>()),
      import_state_(std::make_unique<import_io::ImportState>()),
      mesh_queue_(std::make_unique<MeshQueue>()) {}

Host::~Host() = default;

void Host::Report(const std::string &text) const {
  if (settings_.sinks.report) return settings_.sinks.report(text);
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

void Host::ReportError(int level, const std::string &text) const {
  if (settings_.sinks.error) return settings_.sinks.error(level, text);
  std::fprintf(stderr, "level %d: %s\n", level, text.c_str());
}

void Host::ShowProgress(const std::string &text) const {
  if (settings_.sinks.progress) return settings_.sinks.progress(text);
  std::fprintf(stderr, "%s\n", text.c_str());
}

bool Host::AbortRequested() const {
  if (abort_requested_.load(std::memory_order_relaxed)) return true;
  return settings_.stop_requested && settings_.stop_requested();
}

bool Host::ConfirmOverwrite(const std::string &path) const {
  return !settings_.confirm_overwrite || settings_.confirm_overwrite(path);
}

int64_t Host::EnvironmentValue(const std::string &name) const {
  auto it = settings_.environment.find(name);
  return it == settings_.environment.end() ? 0 : it->second;
}

void Host::SettleMeshes() const { mesh_queue_->Settle(); }

void Host::BeginCall(CallEffect effect) {
  if (effect != CallEffect::kMayChangeMeshes) return;
  SettleMeshes();
  welds_ahead_->Forget();
}

}  // namespace kavrel
