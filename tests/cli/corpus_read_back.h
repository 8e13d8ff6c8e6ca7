// The whole-corpus tests of single formats in the sanitizer build. There,
// the corpus test converts every model to glTF, which runs the plug-in, the
// host and the export model over the whole corpus under the sanitizers;
// the format tests take every third model, which still runs each writer
// over every kind of model. The plain build takes every model and reads
// each file back (through assimp, which the sanitizers do not change and
// which cost minutes there).
#ifndef TESTS_CLI_CORPUS_READ_BACK_H
#define TESTS_CLI_CORPUS_READ_BACK_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corpus_runs.h"

namespace kavrel_test {

constexpr bool kCorpusReadBack = KAVREL_CORPUS_READ_BACK != 0;

// The models a single format's corpus test converts.
inline std::vector<Model> FormatCorpus() {
  std::vector<Model> models = AllModels();
  if (kCorpusReadBack) return models;
  std::vector<Model> sample;
  for (size_t m = 0; m < models.size(); m += 3) sample.push_back(models[m]);
  return sample;
}

// The sanitizer build's run of a format's corpus test: every model of
// FormatCorpus() converts to extension, each in a process of its own.
inline void ConvertFormatSample(const ScratchDirectory &scratch, const std::string &extension) {
  const std::vector<Model> models = FormatCorpus();
  const std::vector<std::string> written =
      ConvertAll(scratch, models, extension, [](const Model &, const ProcessResult &, const std::string &) {});
  EXPECT_EQ(written.size(), models.size()) << "some conversions wrote nothing";
}

}  // namespace kavrel_test

#endif
