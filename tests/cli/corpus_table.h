// What a conversion of one model produced: the plug-in's statistics lines
// and the triangles that reach the glTF, placed as its nodes place them.
#ifndef TESTS_CLI_CORPUS_TABLE_H
#define TESTS_CLI_CORPUS_TABLE_H

#include <map>
#include <string>
#include <vector>

namespace kavrel_test {

struct ModelResult {
  std::vector<long> statistics;                // the numbers of the statistics lines, in their order
  long triangles = -1;                         // triangles over all mesh nodes of the .glb; -1 unreadable

  bool operator==(const ModelResult &other) const {
    return statistics == other.statistics && triangles == other.triangles;
  }
};

// Model name -> result, as kept in the table file: one line a model, its
// name, the statistics numbers, then the triangle count; '#' comments.
using CorpusTable = std::map<std::string, ModelResult>;

CorpusTable ReadCorpusTable(const std::string &path);
std::string FormatCorpusTable(const CorpusTable &table);
std::string FormatModelResult(const ModelResult &result);

// The numbers after " = " on the "\tNumber of ..." lines of a conversion's
// standard output.
std::vector<long> ParseStatistics(const std::string &output);

// Triangles of every node's mesh in a .glb file, summed over the nodes.
long CountGlbTriangles(const std::string &path);

}  // namespace kavrel_test

#endif
