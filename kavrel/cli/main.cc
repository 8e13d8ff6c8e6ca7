// kavrel-convert: loads the Inventor import plug-in as a host does and
// writes what it imports as glTF 2.0 (or the scene database as JSON).
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "kavrel/cli/bundled_example.h"
#include "kavrel/cli/command_line.h"
#include "kavrel/cli/console_reports.h"
#include "kavrel/cli/convert_input.h"
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

ExitStatus ConvertAll(PluginLibrary &plugin, const ConversionSettings &settings) {
  const ConvertCommand &command = *settings.command;
  ExitStatus overall = kExitConverted;
  for (const std::string &input : command.inputs) {
    // An input left out fails the call; a Ctrl-C after the last output was
    // in place changes nothing that was done.
    if (Interrupted()) return kExitFailed;
    std::string output = command.output.empty() ? DefaultOutputPath(input) : command.output;
    overall = WorstStatus(overall, ConvertInput(plugin, settings, input, output));
  }
  return overall;
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
  ExitStatus status = ConvertAll(plugin, settings);
  if (status == kExitConverted) {
    char *directory = getcwd(nullptr, 0);
    ShowNotice("The bundled example is now " + std::string(directory != nullptr ? directory : ".") + "/" +
               DefaultOutputPath(example) + "; run kavrel-convert --help to convert your own files.");
    std::free(directory);
  }
  return status;
}

ExitStatus RunDialogs(PluginLibrary &plugin, const ConvertCommand &command) {
  const int options = command.show_options ? RunDialogInTerminal(plugin.entry(), false) : 0;
  if (options < 0) {
    ShowError(options == -2 ? "the options could not be stored" : "the options dialog could not be shown");
    return kExitFailed;
  }
  if (command.show_about && RunDialogInTerminal(plugin.entry(), true) < 0) {
    ShowError("the about box could not be shown");
    return kExitFailed;
  }
  return kExitConverted;
}

ExitStatus Run(const ConvertCommand &command) {
  PluginLibrary plugin;
  std::string error;
  if (!plugin.Load(PluginLibrary::ChoosePath(command.plugin_path), &error)) {
    ShowError(error);
    return kExitFailed;
  }
  ConversionSettings settings;
  settings.command = &command;
  settings.support_dir = PrepareSupportDirectory(
      command.support_dir.empty() ? DefaultSupportDirectory() : command.support_dir, &error);
  if (!error.empty()) ShowError(error + "; using the default options");
  plugin.Initialize(settings.support_dir);

  if (command.check_only) return CheckHeaders(plugin, command.inputs);
  if (!SetTextureRoots(command.texture_roots, &error)) {
    ShowError(error);
    return kExitUsage;
  }
  bool dialogs = command.show_options || command.show_about;
  if (dialogs) {
    ExitStatus status = RunDialogs(plugin, command);
    if (status != kExitConverted || command.inputs.empty()) return status;
  }
  InstallInterruptHandler();
  if (command.inputs.empty()) return ConvertExample(plugin, settings, command);
  return ConvertAll(plugin, settings);
}

}  // namespace
}  // namespace kavrel

int main(int argc, char **argv) {
  kavrel::TuneProcessMemory(argv);
  kavrel::ConvertCommand command;
  kavrel::ExitStatus status = kavrel::kExitConverted;
  if (!kavrel::ParseCommandLine(argc, argv, &command, &status)) return status;
  kavrel::InstallConsoleReports(command.quiet);
  status = kavrel::Run(command);
  std::fflush(stdout);
  return status;
}
