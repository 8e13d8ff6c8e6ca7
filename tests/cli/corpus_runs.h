// Every model of the corpus (the inventor-data models and our examples)
// converted by kavrel-convert, two at a time (one per core), for the tests
// that go over the whole corpus.
#ifndef TESTS_CLI_CORPUS_RUNS_H
#define TESTS_CLI_CORPUS_RUNS_H

#include <functional>
#include <string>
#include <vector>

#include "convert_process.h"

namespace kavrel_test {

struct Model {
  std::string name;                            // key in the table: "examples/x.iv" or "buildings/windmill.iv"
  std::string path;
};

// The models, sorted by name.
std::vector<Model> AllModels();

// Converts every model to a flat folder of scratch, as the model's name
// with extension (".glb": "robots/robotcop.iv" -> "robots_robotcop.glb"),
// and calls done(model, its result, its output) as each finishes, in the
// models' order. Returns the outputs written.
std::vector<std::string> ConvertAll(
    const ScratchDirectory &scratch, const std::vector<Model> &models, const std::string &extension,
    const std::function<void(const Model &, const ProcessResult &, const std::string &)> &done);

}  // namespace kavrel_test

#endif
