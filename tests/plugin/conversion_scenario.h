// Scenario support for the plug-in's tests: a few lines of Inventor text
// converted through the entry point inside this process on a Host of the
// test's own, its reports captured and its call journal left for
// assertions.
#ifndef TESTS_PLUGIN_CONVERSION_SCENARIO_H
#define TESTS_PLUGIN_CONVERSION_SCENARIO_H

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "kavrel/host.h"

namespace plugin_test {

using Tokens = std::vector<std::pair<std::string, std::string>>;

class Conversion {
 public:
  Conversion();   // a temporary directory and a fresh Host, current while this lives
  ~Conversion();  // removes the directory

  const std::string &dir() const { return dir_; }  // ends with '/'
  // Writes text to dir()/name and returns the path.
  std::string Write(const std::string &name, const std::string &text) const;
  // On a fresh Host: "initialize" with dir(), adjust() on the new options,
  // then "execute_geometry_converter" with "filename" path and tokens.
  int32_t Convert(const std::string &path, const Tokens &tokens = {}, const std::function<void()> &adjust = {});
  int32_t ConvertText(const std::string &text, const Tokens &tokens = {}, const std::function<void()> &adjust = {});
  // Texts of the error reports of that level, in order.
  std::vector<std::string> Errors(int level) const;

  // The Host the plug-in's calls reach, and what it holds.
  kavrel::Host &host() { return *host_; }
  kavrel::Scene &scene() { return host_->scene(); }
  const kavrel::Journal &journal() const { return host_->journal(); }

  std::vector<std::pair<int, std::string>> errors;       // level and text
  std::string printed;                                   // Import_IO_printf text
  std::function<void(const std::string &)> on_progress;  // sees each progress line
  std::unordered_map<std::string, int64_t> environment;  // Kv_Inquire_Environment of the Hosts to come

 private:
  // Replaces the Host by a fresh one, its reports going to the members above.
  void StartHost();

  std::string dir_;
  std::unique_ptr<kavrel::Host> host_;
  std::optional<kavrel::CurrentHostScope> current_;
};

// Kavrel_Plugin_EntryPoint with the tokens and values, null-terminated; its result.
int32_t CallEntryPoint(std::vector<const char *> tokens, std::vector<intptr_t> values);
intptr_t TextValue(const std::string &text);
// The readable form of every journal entry of call in the current Host, in order.
std::vector<std::string> CallLines(const std::string &call);
// Names of the objects the current Host was asked to define, in order.
std::vector<std::string> DefinedObjects();
// The floats that follow token word in entry; empty when none.
std::vector<float> FloatsAfter(const kavrel::JournalEntry &entry, const std::string &word);

}  // namespace plugin_test

#endif
