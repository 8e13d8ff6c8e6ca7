#include "kavrel/cli/convert_input.h"

#include <sys/stat.h>

#include <memory>
#include <vector>

#include "kavrel/cli/batch_worker.h"
#include "kavrel/cli/console_reports.h"
#include "kavrel/cli/conversion_watchdog.h"
#include "kavrel/cli/input_check.h"
#include "kavrel/cli/interrupt_handler.h"
#include "kavrel/cli/output_path.h"
#include "kavrel/cli/output_summary.h"
#include "kavrel/cli/overwrite_prompt.h"
#include "kavrel/cli/texture_directory.h"
#include "kavrel/image/run_files.h"

namespace kavrel {

namespace {

ExitStatus Fail(ExitStatus status, const std::string &message) {
  ShowError(message);
  return status;
}

// The plug-in answers 0 even when Coin3D could not read the file (it
// reports that itself); the sign of a real import is the root instance it
// attaches below "world".
bool ImportedAnything(const Scene &scene) { return scene.instances.items.size() > 1; }

double TimeLimitFor(const ConvertCommand &command, const std::string &input) {
  if (command.time_limit >= 0) return command.time_limit;
  struct stat info;
  return DefaultTimeLimit(stat(input.c_str(), &info) == 0 ? static_cast<uint64_t>(info.st_size) : 0);
}

// The plug-in's run under the time limit; the run's result.
int RunPlugin(const Host &host, PluginLibrary &plugin, const ConversionSettings &settings, const std::string &input,
              const OptionTokens &tokens) {
  int result = 0;
  {
    ConversionWatchdog watchdog(TimeLimitFor(*settings.command, input), input);
    result = plugin.Convert(input, tokens);
  }
  SummarizeRepeatedErrors();
  if (settings.command->trace) PrintJournal(host.journal());
  return result;
}

ExitStatus Export(const Host &host, const std::string &input, const std::string &output, bool quiet) {
  ExportFormat format = ExportFormat::kGlb;
  ExportFormatFromPath(output, &format);
  std::string error;
  ExportSummary summary;
  if (!ExportScene(host, output, format, &error, &summary)) {
    if (Interrupted()) return Fail(kExitFailed, "interrupted while writing '" + output + "'; nothing written");
    // The exporter's messages usually name the file already.
    bool named = error.find(output) != std::string::npos;
    return Fail(kExitFailed, named ? error : "cannot write '" + output + "': " + error);
  }
  if (!quiet) PrintOutputSummary(output, format, summary);
  ShowSummary(input + " -> " + output);
  return kExitConverted;
}

ExitStatus RunAndExport(const Host &host, PluginLibrary &plugin, const ConversionSettings &settings,
                        const std::string &input, const std::string &output, const OptionTokens &tokens) {
  int result = RunPlugin(host, plugin, settings, input, tokens);
  if (Interrupted()) return Fail(kExitFailed, "interrupted while converting '" + input + "'; nothing written");
  if (result != 0) return Fail(kExitFailed, "converting '" + input + "' failed; nothing written");
  if (!ImportedAnything(host.scene())) {
    return Fail(kExitFailed, "nothing could be imported from '" + input + "'; nothing written");
  }
  const ExitStatus status = Export(host, input, output, settings.command->quiet);
  if (status == kExitConverted && !settings.command->result_path.empty()) {
    WriteWorkerResult(host.scene(), settings.command->result_path);
  }
  return status;
}

}  // namespace

namespace {

// The host of a conversion, kept until the process ends: its memory goes
// back with the process, where freeing a large scene's objects, names and
// meshes one by one took 4% of a run of 20,000 shapes. Reachable from
// here, so leak checkers see no loss. Its mesh work is settled first (as
// its destructor would), so that its thread waits idle while the process
// ends; a failure of that work is dropped, as the destructor drops it.
void KeepUntilExit(std::unique_ptr<Host> host) {
  try {
    host->SettleMeshes();
  } catch (...) {
  }
  static std::vector<std::unique_ptr<Host>> *const kept = new std::vector<std::unique_ptr<Host>>;
  kept->push_back(std::move(host));
}

ExitStatus ConvertOn(Host &host, PluginLibrary &plugin, const ConversionSettings &settings, const std::string &input,
                     const std::string &output) {
  CurrentHostScope current(host);
  host.journal().set_enabled(settings.command->trace);
  ShowProgress("Converting " + input);
  InputVerdict verdict = CheckInput(plugin, input);
  if (verdict.status != kExitConverted) return Fail(verdict.status, verdict.message);
  const ConvertCommand &command = *settings.command;
  std::string error;
  if (!CheckOutputWritable(output, &error) ||
      !CheckOutputReplaceable(output, command.inputs, command.overwrite, &error)) {
    return Fail(kExitFailed, error);
  }
  OptionTokens tokens;
  TextureDirectory textures;
  ExitStatus status = kExitFailed;
  if (!PrepareRunTokens(command, settings.support_dir, output, &tokens, &textures, &error)) {
    ShowError(error);
  } else {
    host.settings().confirm_overwrite = OverwritePrompt(command.overwrite, textures.path);
    status = RunAndExport(host, plugin, settings, input, output, tokens);
  }
  // A failed run leaves none of the images it extracted; a temporary
  // texture folder goes in any case.
  if (status == kExitConverted && !textures.temporary) {
    KeepRunFiles();
  } else {
    RemoveRunFiles();
  }
  return status;
}

}  // namespace

ExitStatus ConvertInput(PluginLibrary &plugin, const ConversionSettings &settings, const std::string &input,
                        const std::string &output) {
  auto host = std::make_unique<Host>(settings.host);
  const ExitStatus status = ConvertOn(*host, plugin, settings, input, output);
  KeepUntilExit(std::move(host));
  return status;
}

}  // namespace kavrel
