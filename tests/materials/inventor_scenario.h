// Scenario support: Inventor text converted through the plug-in's entry
// point in this process, the host's reports captured, its journal kept.
#ifndef TESTS_MATERIALS_INVENTOR_SCENARIO_H
#define TESTS_MATERIALS_INVENTOR_SCENARIO_H

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "kavrel/host.h"

namespace scenario {

using Tokens = std::vector<std::pair<std::string, std::string>>;

class Scenario {
 public:
  Scenario();                                  // a temporary directory; reports captured
  ~Scenario();

  const std::string &dir() const { return dir_; }  // ends with '/'
  // On a fresh host: "initialize" with dir(), adjust() on the new options,
  // then "execute_geometry_converter" of dir()/scene.iv holding text.
  int32_t ConvertText(const std::string &text, const Tokens &tokens = {}, const std::function<void()> &adjust = {});
  // Texts of this conversion's error reports of that level.
  std::vector<std::string> Errors(int level) const;

  std::vector<std::pair<int, std::string>> errors;  // level and text
  std::string printed;                         // Import_IO_printf text

 private:
  std::string dir_;
  kavrel::ReportSinks saved_sinks_;
};

// Journal entries of call whose first string is name (any, when name is empty).
std::vector<const kavrel::JournalEntry *> CallsFor(const std::string &call, const std::string &name = "");
// Their readable one-line forms.
std::vector<std::string> Lines(const std::string &call, const std::string &name = "");
// The floats after the first token word of entry; empty when none.
std::vector<float> FloatsAfter(const kavrel::JournalEntry &entry, const std::string &word);

// An uncompressed 8-bit SGI image from interleaved bytes.
bool WriteSgiImage(const std::string &path, int width, int height, int components,
                   const std::vector<uint8_t> &bytes);
// An 8-bit TIFF read back: size, samples per pixel and the interleaved bytes.
bool ReadTiff(const std::string &path, int *width, int *height, int *components, std::vector<uint8_t> *bytes);

}  // namespace scenario

#endif
