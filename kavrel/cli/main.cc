// kavrel-convert: loads the Inventor import plug-in as a host does and
// writes what it imports as glTF 2.0 (or the scene database as JSON).
#include <cstdio>
#include <cstdlib>

#include "kavrel/cli/batch_run.h"
#include "kavrel/cli/bundled_example.h"
#include "kavrel/cli/command_line.h"
#include "kavrel/cli/console_reports.h"
#include "kavrel/cli/convert_input.h"
#include "kavrel/cli/file_system.h"
#include "kavrel/cli/input_check.h"
#include "kavrel/cli/interrupt_handler.h"
#include "kavrel/cli/options_terminal.h"
#include "kavrel/cli/output_path.h"
#include "kavrel/cli/plugin_library.h"
#include "kavrel/cli/process_memory.h"
#include "kavrel/cli/support_directory.h"

namespace kavrel {
namespace {

ExitStatus CheckHeaders(PluginLibrary &plugin, const std::vector<std::string> &inputs) {
  ExitStatus overall = kExitConverted;
  for (const std::string &input : inputs) {
    InputVerdict verdict = CheckInput(plugin, input);
    std::printf("%s: %s\n", input.c_str(), verdict.word);
    overall = WorstStatus(overall, verdict.status);
  }
  return overall;
}

// One input in this process (several go to RunBatch): the plug-in was
// initialised once, so what the options dialog left in memory applies.
ExitStatus ConvertOne(PluginLibrary &plugin, const ConversionSettings &settings) {
  const ConvertCommand &command = *settings.command;
  const std::string &input = command.inputs.front();
  std::string output = command.output.empty() ? DefaultOutputPath(input) : command.output;
  return ConvertInput(plugin, settings, input, output);
}

// No arguments at all: show what the command does on the bundled example.
ExitStatus ConvertExample(PluginLibrary &plugin, ConversionSettings settings, ConvertCommand command) {
  std::string example = FindBundledExample();
  if (example.empty()) {
    ShowError("no INPUT given and the bundled example examples/showcase.iv was not found");
    return kExitUsage;
  }
  command.inputs = {example};
  settings.command = &command;
  ExitStatus status = ConvertOne(plugin, settings);
  if (status == kExitConverted) {
    ShowNotice("The bundled example is now " + AbsolutePath(DefaultOutputPath(example)) +
               "; run kavrel-convert --help to convert your own files.");
  }
  return status;
}

ExitStatus RunDialogs(Host &host, PluginLibrary &plugin, const ConvertCommand &command) {
  const int options = command.show_options ? RunDialogInTerminal(host, plugin.entry(), false) : 0;
  if (options < 0) {
    ShowError(options == -2 ? "the options could not be stored" : "the options dialog could not be shown");
    return kExitFailed;
  }
  if (command.show_about && RunDialogInTerminal(host, plugin.entry(), true) < 0) {
    ShowError("the about box could not be shown");
    return kExitFailed;
  }
  return kExitConverted;
}

// host_settings: what every Host of this command starts from.
ExitStatus Run(const ConvertCommand &command, HostSettings host_settings) {
  bool dialogs = command.show_options || command.show_about;
  if (dialogs && !TerminalAvailable()) {
    ShowError(std::string(command.show_options ? "--options" : "--about") +
              " needs a terminal: standard input and output are not one");
    return kExitUsage;
  }
  const bool batch = !command.check_only && IsBatch(command);
  if (batch && !dialogs) return RunBatch(command);
  PluginLibrary plugin;
  std::string error;
  if (!plugin.Load(PluginLibrary::ChoosePath(command.plugin_path), &error)) {
    ShowError(error);
    return kExitFailed;
  }
  // The plug-in's calls outside a conversion (its initialisation, header
  // checks, the dialogs) reach this host; each conversion makes its own.
  Host process_host(host_settings);
  CurrentHostScope current(process_host);
  ConversionSettings settings;
  settings.command = &command;
  settings.support_dir = PrepareSupportDirectory(
      command.support_dir.empty() ? DefaultSupportDirectory() : command.support_dir, &error);
  if (!error.empty()) ShowError(error + "; using the default options");
  plugin.Initialize(settings.support_dir);

  if (command.check_only) return CheckHeaders(plugin, command.inputs);
  if (!host_settings.texture_roots.Set(command.texture_roots, &error)) {
    ShowError(error);
    return kExitUsage;
  }
  settings.host = host_settings;
  if (dialogs) {
    ExitStatus status = RunDialogs(process_host, plugin, command);
    if (status != kExitConverted || command.inputs.empty()) return status;
    // Its workers start afresh from the stored options.
    if (batch) return RunBatch(command);
  }
  InstallInterruptHandler();
  if (command.inputs.empty()) return ConvertExample(plugin, settings, command);
  return ConvertOne(plugin, settings);
}

}  // namespace
}  // namespace kavrel

int main(int argc, char **argv) {
  kavrel::TuneProcessMemory();
  kavrel::ConvertCommand command;
  kavrel::ExitStatus status = kavrel::kExitConverted;
  if (!kavrel::ParseCommandLine(argc, argv, &command, &status)) return status;
  kavrel::HostSettings host_settings;
  host_settings.sinks = kavrel::ConsoleReportSinks(command.quiet, command.verbose);
  host_settings.stop_requested = kavrel::Interrupted;
  status = kavrel::Run(command, std::move(host_settings));
  kavrel::EndProgressLine();
  std::fflush(stdout);
  return status;
}
