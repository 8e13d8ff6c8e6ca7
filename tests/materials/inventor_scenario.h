// Scenario support: a few lines of Inventor text converted through the
// plug-in's entry point inside this process, with the host's reports
// captured and its call journal left for assertions.
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

struct Report {
  int level;
  std::string text;
};

class Scenario {
 public:
  Scenario();                                  // a temporary directory; reports captured
  ~Scenario();                                 // removes the directory

  const std::string &dir() const { return dir_; }  // ends with '/'
  // Writes text to dir()/name and returns the path.
  std::string Write(const std::string &name, const std::string &text) const;
  // On a fresh host: "initialize" with dir(), adjust() on the fresh options,
  // then "execute_geometry_converter" with "filename" and tokens. The
  // journal and the reports hold this conversion only. Returns the result.
  int32_t Convert(const std::string &path, const Tokens &tokens = {}, const std::function<void()> &adjust = {});
  int32_t ConvertText(const std::string &text, const Tokens &tokens = {},
                      const std::function<void()> &adjust = {});

  std::vector<Report> errors;                  // Import_IO_Report_Error and Kv_Report_Error
  std::string printed;                         // Import_IO_printf text

 private:
  std::string dir_;
  kavrel::ReportSinks saved_sinks_;
};

// The readable form of every journal entry of call, in order.
std::vector<std::string> CallLines(const std::string &call);
// The entries of call whose first string item is name.
std::vector<const kavrel::JournalEntry *> CallsFor(const std::string &call, const std::string &name);
// The floats that follow the first occurrence of token word in entry; empty when none.
std::vector<float> FloatsAfter(const kavrel::JournalEntry &entry, const std::string &word);
// The words of entry: tokens and strings as text, "|" for group ends.
std::string Words(const kavrel::JournalEntry &entry);
// Texts of the reports of that level.
std::vector<std::string> ErrorTexts(const Scenario &run, int level);

// An 8-bit SGI image file from interleaved bytes; false when it cannot be written.
bool WriteSgiImage(const std::string &path, int width, int height, int components,
                   const std::vector<uint8_t> &bytes);
// Reads an 8-bit TIFF back: size, samples per pixel and the interleaved bytes.
bool ReadTiff(const std::string &path, int *width, int *height, int *components, std::vector<uint8_t> *bytes);

}  // namespace scenario

#endif
