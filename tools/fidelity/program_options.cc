#include "tools/fidelity/program_options.h"

#include "tools/fidelity/image_compare.h"

namespace kavrel::fidelity {

CLI::Option *AddColourOption(CLI::App &app, const std::string &name, Rgb *colour, const std::string &what) {
  std::string fallback = std::to_string(colour->r) + "," + std::to_string(colour->g) + "," + std::to_string(colour->b);
  CLI::Validator rgb(
      [](std::string &text) {
        Rgb parsed;
        return ParseRgb(text, &parsed) ? std::string() : "wants R,G,B from 0 to 255, not '" + text + "'";
      },
      "R,G,B");
  return app
      .add_option_function<std::string>(
          name, [colour](const std::string &text) { ParseRgb(text, colour); }, what + " (default " + fallback + ")")
      ->check(rgb);
}

CLI::Option *AddListOption(CLI::App &app, const std::string &name, std::string *path, const std::string &what,
                           const std::string &positionals) {
  return app.add_option(name, *path, what + " instead (- for standard input)")
      ->type_name("FILE")
      ->excludes(positionals);
}

}  // namespace kavrel::fidelity
