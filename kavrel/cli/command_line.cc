#include "kavrel/cli/command_line.h"

#include <CLI/CLI.hpp>
#include <sys/stat.h>

#include <climits>
#include <cstdio>

#include "kavrel/cli/output_path.h"
#include "kavrel/host.h"

namespace kavrel {

namespace {

const char kFooter[] =
    "With no INPUT, converts the bundled example showcase.iv to showcase.glb in the\n"
    "current directory.\n"
    "\n"
    "Exit status: 0 converted, 1 conversion failed (also unreadable input, unwritable\n"
    "output, interrupted), 2 usage error, 3 input not an Inventor 2.x / VRML 1.0 file.\n"
    "With several inputs the status is the worst of them; 1 outranks 3.\n"
    "\n"
    "Several inputs, or a directory (searched for .iv, .wrl, .iv.gz, .wrl.gz, .wrz),\n"
    "convert as a batch: each file in a process of its own, -j at once, outputs in a\n"
    "tree under --output-dir that mirrors the inputs; a file that fails, crashes or\n"
    "hangs is reported and the others go on.\n"
    "\n"
    "Examples:\n"
    "  kavrel-convert chair.iv                     writes chair.glb\n"
    "  kavrel-convert -o out/chair.gltf chair.iv   writes glTF as JSON text\n"
    "  kavrel-convert -O import_lights=0 *.iv\n"
    "  kavrel-convert -j 4 --output-dir gltf/ --report report.json archive/\n"
    "  kavrel-convert --texture-root models/ models/upload.iv\n"
    "  kavrel-convert --check scene.wrl\n"
    "\n"
    "Images embedded in the input are extracted into OUTPUT-STEM_textures/ beside a\n"
    ".json output, and into a temporary folder for .glb and .gltf, which carry them\n"
    "inside; -O txtr_save_dir=DIR or a directory in the stored options chooses another.";

// Run-time tokens that the command itself sends; the user cannot override them.
bool IsReservedToken(const std::string &key) { return key == "filename" || key == "validate_header_2"; }

// Our own run-time tokens, which go first, so that -O can still override them.
std::vector<std::pair<std::string, std::string>> HostTokens(const ConvertCommand &command) {
  std::vector<std::pair<std::string, std::string>> tokens{{"max_triangles", std::to_string(command.max_triangles)}};
  if (!command.classic_counts) tokens.emplace_back("count_in_traversal_state", "1");
  if (!command.faces_only) tokens.emplace_back("import_lines_and_points", "1");
  for (const char *key : {"exact_shininess", "cull_solid_shapes", "import_ambient_color"}) tokens.emplace_back(key, "1");
  return tokens;
}

}  // namespace

size_t HostTokenCount(const ConvertCommand &command) { return HostTokens(command).size(); }

namespace {

// Splits the -O values into (key, value) pairs; a message on the first bad one.
bool SplitOptionTokens(const std::vector<std::string> &raw, ConvertCommand *command, std::string *error) {
  command->option_tokens = HostTokens(*command);
  for (const std::string &item : raw) {
    std::string::size_type equals = item.find('=');
    if (equals == std::string::npos || equals == 0) {
      *error = "-O expects KEY=VALUE, got '" + item + "'";
      return false;
    }
    std::string key = item.substr(0, equals);
    if (IsReservedToken(key)) {
      *error = "-O " + key + " is set by the command itself; give the file as INPUT";
      return false;
    }
    command->option_tokens.emplace_back(key, item.substr(equals + 1));
  }
  return true;
}

// The checks that CLI11 cannot express.
bool CheckBatchOptions(const ConvertCommand &command, std::string *error) {
  ExportFormat format;
  if (!command.format.empty() && !ExportFormatFromPath("x." + command.format, &format) &&
      !ExportFormatFromPath("x" + command.format, &format)) {
    *error = "--format " + command.format + " is not an output format kavrel-convert writes";
    return false;
  }
  const bool batch_options =
      command.jobs > 0 || !command.output_dir.empty() || !command.format.empty() || !command.report_path.empty();
  if (!command.output.empty() && batch_options) {
    *error = "-o names one output file; -j, --output-dir, --format and --report are for batches";
    return false;
  }
  return true;
}

bool CheckCombinations(const ConvertCommand &command, std::string *error) {
  if (!CheckBatchOptions(command, error)) return false;
  if (!command.output.empty()) {
    struct stat info;
    if (command.inputs.size() == 1 && stat(command.inputs[0].c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      *error = "-o names one output file; convert a directory with --output-dir";
      return false;
    }
    if (command.check_only) {
      *error = "--check writes nothing; -o cannot be used with it";
      return false;
    }
    if (command.inputs.size() > 1) {
      *error = "-o can only be used with one INPUT";
      return false;
    }
    return true;
  }
  if (command.check_only && command.inputs.empty()) {
    *error = "--check needs at least one INPUT";
    return false;
  }
  return true;
}

}  // namespace

bool ParseCommandLine(int argc, char **argv, ConvertCommand *command, ExitStatus *status) {
  CLI::App app{"Converts Open Inventor 2.x and VRML 1.0 files to glTF 2.0 through the Inventor import plug-in.",
               "kavrel-convert"};
  app.footer(kFooter);
  // Options are GNU-style on every platform; on Windows CLI11 would also take
  // "/name" for an option, and so misread root-relative paths.
  app.allow_windows_style_options(false);
  app.set_version_flag("--version", std::string("kavrel-convert ") + KAVREL_VERSION);
  std::vector<std::string> raw_tokens;
  app.add_option("INPUT", command->inputs,
                 "Inventor (.iv) or VRML 1.0 (.wrl) files to convert, or directories to search for them");
  app.add_option("-o,--output", command->output,
                 "Output file (one INPUT only); format from the extension: " + ExportExtensionList())
      ->type_name("PATH");
  app.add_option("-O,--option", raw_tokens, "Run-time option token for the plug-in, repeatable, sent in order")
      ->type_name("KEY=VALUE")
      ->allow_extra_args(false);
  app.add_option("--support-dir", command->support_dir,
                 "Plug-in support directory with the preferences (default: $XDG_CONFIG_HOME/kavrel/inventor/)")
      ->type_name("DIR");
  app.add_option("--plugin", command->plugin_path,
                 "Plug-in library to load (default: $KAVREL_PLUGIN, else the installed one, else the built one)")
      ->type_name("PATH");
  app.add_option("--time-limit", command->time_limit,
                 "Give up on a conversion after SECONDS (0: never; default: 120 + 10 per MB of input)")
      ->type_name("SECONDS")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--max-triangles", command->max_triangles,
                 "Refuse a scene that would make more than N triangles or shape instances, counted before the "
                 "conversion (0: no limit; default 200000000)")
      ->type_name("N")
      ->check(CLI::Range(int64_t{0}, int64_t{INT32_MAX}));
  app.add_flag("--classic-counts", command->classic_counts,
               "Count each shape's triangles on the shape alone, as the plug-in does without our "
               "count_in_traversal_state token (a Complexity node then loses triangles)");
  app.add_flag("--faces-only", command->faces_only,
               "Leave out line sets, point sets and shapes drawn as lines or points, as the plug-in does without "
               "our import_lines_and_points token");
  app.add_option("--texture-root", command->texture_roots,
                 "Read texture images only from inside DIR, repeatable (recommended for untrusted input)")
      ->type_name("DIR")
      ->allow_extra_args(false);
  app.add_flag("--overwrite", command->overwrite,
               "Replace existing files without asking: extracted textures, a read-only output");
  app.add_flag("--check", command->check_only, "Only test each file's header: prints valid, unreadable or unsupported");
  app.add_flag("--trace", command->trace, "Print the host call journal to standard error");
  auto *quiet = app.add_flag("-q,--quiet", command->quiet, "No progress lines");
  app.add_flag("-v,--verbose", command->verbose,
               "Every progress line of the plug-in instead of one line updated in place; in a batch, every "
               "message of every file")
      ->excludes(quiet);
  app.add_option("-j,--jobs", command->jobs, "Convert up to N files at once in a batch (default: the number of cores)")
      ->type_name("N")
      ->check(CLI::Range(1, 1024));
  app.add_option("--output-dir", command->output_dir,
                 "Write a batch's outputs below DIR, mirroring the input tree (default: the current directory)")
      ->type_name("DIR");
  app.add_option("--format", command->format, "Output format of a batch, as a file extension (default: glb)")
      ->type_name("EXT");
  app.add_option("--report", command->report_path, "Write one JSON record per input of a batch to FILE")
      ->type_name("FILE.json");
  app.add_option("--batch-result", command->result_path, "")->group("");
  app.add_flag("--options", command->show_options, "Edit the stored import options in the terminal");
  app.add_flag("--about", command->show_about, "Show the plug-in's about box");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp &e) {
    *status = static_cast<ExitStatus>(app.exit(e));
    return false;
  } catch (const CLI::CallForVersion &e) {
    *status = static_cast<ExitStatus>(app.exit(e));
    return false;
  } catch (const CLI::ParseError &e) {
    std::fprintf(stderr, "kavrel-convert: %s\nRun with --help for more information.\n", e.what());
    *status = kExitUsage;
    return false;
  }
  std::string error;
  if (!SplitOptionTokens(raw_tokens, command, &error) || !CheckCombinations(*command, &error)) {
    std::fprintf(stderr, "kavrel-convert: %s\nRun with --help for more information.\n", error.c_str());
    *status = kExitUsage;
    return false;
  }
  // A well-formed command that cannot be carried out: a failed conversion.
  if (ExportFormat format; !command->output.empty() && !ExportFormatFromPath(command->output, &format)) {
    std::fprintf(stderr, "kavrel-convert: cannot write '%s': no writer for its extension; use one of %s\n",
                 command->output.c_str(), ExportExtensionList().c_str());
    *status = kExitFailed;
    return false;
  }
  return true;
}

}  // namespace kavrel
