// fidelity-compare: silhouette overlap and colour difference of renderings
// on a key background, one pair from the command line or many from a list.
#include <cstdio>
#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

#include "tools/fidelity/image_compare.h"
#include "tools/fidelity/png_file.h"
#include "tools/fidelity/program_options.h"
#include "tools/fidelity/tab_lines.h"

namespace kavrel::fidelity {
namespace {

// Prints "OVERLAP<TAB>MEAN_DIFF", or "failed<TAB>MESSAGE"; writes the
// difference picture when asked to.
bool ComparePair(const std::string &original_path, const std::string &ours_path, const std::string &diff_path,
                 Rgb key) {
  RgbImage original, ours;
  Comparison result;
  std::string error;
  bool ok = ReadPng(original_path, &original, &error) && ReadPng(ours_path, &ours, &error) &&
            Compare(original, ours, key, &result, &error) &&
            (diff_path.empty() || WritePng(diff_path, DifferenceImage(original, ours, key), &error));
  if (ok) {
    std::printf("%.6f\t%.4f\n", result.overlap, result.mean_diff);
  } else {
    std::printf("failed\t%s\n", error.c_str());
  }
  return ok;
}

int Run(int argc, char **argv) {
  CLI::App app{"Compares renderings of a model on a key background: prints the silhouette overlap (intersection "
               "over union of the pixels that are not the key colour) and the mean absolute RGB difference over "
               "the union, in 1/255 steps.",
               "fidelity-compare"};
  Rgb key{255, 0, 255};
  std::string diff_path, pairs_path;
  std::vector<std::string> pair;
  app.add_option("ORIGINAL_AND_OURS", pair, "Two PNG files of one size")->expected(2);
  AddColourOption(app, "--key", &key, "The background colour");
  app.add_option("--diff", diff_path, "Also write the difference picture of the pair")->type_name("PNG");
  AddListOption(app, "--pairs", &pairs_path,
                "Compare each line's ORIGINAL<TAB>OURS[<TAB>DIFF.png], printing a line for each,",
                "ORIGINAL_AND_OURS");
  CLI11_PARSE(app, argc, argv);
  if (pairs_path.empty()) {
    if (pair.size() != 2) {
      std::cerr << "fidelity-compare: give two PNG files or --pairs FILE\n";
      return 1;
    }
    return ComparePair(pair[0], pair[1], diff_path, key) ? 0 : 1;
  }
  return RunEachLine("fidelity-compare", pairs_path, [&](const std::vector<std::string> &fields) {
    if (fields.size() < 2) {
      std::printf("failed\tline without ORIGINAL<TAB>OURS\n");
      return false;
    }
    return ComparePair(fields[0], fields[1], fields.size() > 2 ? fields[2] : "", key);
  });
}

}  // namespace
}  // namespace kavrel::fidelity

int main(int argc, char **argv) { return kavrel::fidelity::Run(argc, argv); }
