// What the fuzz targets share: a scratch directory of the process's own for
// the files an input becomes, quiet host reports, and the plug-in's entry
// point called with string values, the way kavrel-convert drives it.
#ifndef FUZZ_FUZZ_SESSION_H
#define FUZZ_FUZZ_SESSION_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kavrel/host.h"

namespace kavrel_fuzz {

// A token and its value; a null value travels as 0.
using Token = std::pair<const char *, const char *>;

class FuzzSession {
 public:
  // Made on first use: directories below $TMPDIR, removed at exit, and a
  // Host and Coin3D whose reports go nowhere (they would cost more than
  // the run), as do those of every Host started after.
  static FuzzSession &Get();

  const std::string &root() const { return root_; }                // holds both below; ends with '/'
  const std::string &support_dir() const { return support_dir_; }  // ends with '/'
  const std::string &run_dir() const { return run_dir_; }          // ends with '/'

  // Writes data to run_dir()/name (or support_dir()/name) and returns the path.
  std::string WriteRunFile(const std::string &name, const uint8_t *data, size_t size) const;
  std::string WriteSupportFile(const std::string &name, const std::string &text) const;
  // Empties run_dir(): what the last input wrote goes.
  void ClearRunDir() const;
  // A fresh Host, current until the next, then "initialize" with support_dir().
  void StartPlugin();
  const kavrel::Host &host() const { return *host_; }

 private:
  FuzzSession();
  void StartHost();
  std::string root_, support_dir_, run_dir_;
  std::unique_ptr<kavrel::Host> host_;
  std::optional<kavrel::CurrentHostScope> current_;
};

// Kavrel_Plugin_EntryPoint with the tokens in order; its result.
int32_t CallPlugin(const std::vector<Token> &tokens);

// "execute_geometry_converter" on path with the tokens kavrel-convert sends
// by default (count_in_traversal_state only when asked: without it the
// plug-in counts as specified), under a triangle limit that keeps a scene
// within the fuzzer's memory. Extracted textures go to run_dir(), never
// beside an input or into a directory the input names.
int32_t ConvertFile(const std::string &path, bool count_in_traversal_state);

}  // namespace kavrel_fuzz

#endif
