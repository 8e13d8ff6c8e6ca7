// Scenario support for the plug-in's tests: a few lines of Inventor text
// converted through the entry point inside this process, the host's
// reports captured and its call journal left for assertions.
#ifndef TESTS_PLUGIN_CONVERSION_SCENARIO_H
#define TESTS_PLUGIN_CONVERSION_SCENARIO_H

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "kavrel/host.h"

namespace plugin_test {

using Tokens = std::vector<std::pair<std::string, std::string>>;

class Conversion {
 public:
  Conversion();   // a temporary directory; reports captured
  ~Conversion();  // restores the sinks, removes the directory

  const std::string &dir() const { return dir_; }  // ends with '/'
  // Writes text to dir()/name and returns the path.
  std::string Write(const std::string &name, const std::string &text) const;
  // On a fresh host: "initialize" with dir(), adjust() on the new options,
  // then "execute_geometry_converter" with "filename" path and tokens.
  int32_t Convert(const std::string &path, const Tokens &tokens = {}, const std::function<void()> &adjust = {});
  int32_t ConvertText(const std::string &text, const Tokens &tokens = {}, const std::function<void()> &adjust = {});
  // Texts of the error reports of that level, in order.
  std::vector<std::string> Errors(int level) const;

  std::vector<std::pair<int, std::string>> errors;       // level and text
  std::string printed;                                   // Import_IO_printf text
  std::function<void(const std::string &)> on_progress;  // sees each progress line

 private:
  std::string dir_;
  kavrel::ReportSinks saved_sinks_;
};

// Kavrel_Plugin_EntryPoint with the tokens and values, null-terminated; its result.
int32_t CallEntryPoint(std::vector<const char *> tokens, std::vector<intptr_t> values);
intptr_t TextValue(const std::string &text);
// The readable form of every journal entry of call, in order.
std::vector<std::string> CallLines(const std::string &call);
// Names of the objects defined, in order.
std::vector<std::string> DefinedObjects();
// The floats that follow token word in entry; empty when none.
std::vector<float> FloatsAfter(const kavrel::JournalEntry &entry, const std::string &word);

}  // namespace plugin_test

#endif
