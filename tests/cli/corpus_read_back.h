// Whole-corpus format tests convert every model to the format under test
// and, in the plain build, to .glb as well, to read both back and compare.
// The sanitizer build converts to the format only: the corpus test already
// converts every model to glTF there, and the read-back through assimp,
// which the sanitizers do not change, costs minutes there.
#ifndef TESTS_CLI_CORPUS_READ_BACK_H
#define TESTS_CLI_CORPUS_READ_BACK_H

#include <string>
#include <vector>

namespace kavrel_test {

constexpr bool kCorpusReadBack = KAVREL_CORPUS_READ_BACK != 0;

// The formats to convert the corpus to: .glb first when it is read back.
inline std::vector<std::string> CorpusFormats(const std::string &format) {
  if (kCorpusReadBack) return {"glb", format};
  return {format};
}

}  // namespace kavrel_test

#endif
