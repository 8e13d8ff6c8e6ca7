// Judging the suite's measurements: worse views, failures, exceptions and
// the share of models that must meet the thresholds.

#include <gtest/gtest.h>

#include "../cli/convert_process.h"
#include "tools/fidelity/contact_sheet.h"
#include "tools/fidelity/fidelity_results.h"
#include "tools/fidelity/report_text.h"
#include "tools/fidelity/tab_lines.h"

namespace kavrel::fidelity {
namespace {

std::vector<Measurement> Parse(const std::vector<std::string> &lines) {
  std::vector<Measurement> out;
  for (const std::string &line : lines) {
    Measurement m;
    std::string error;
    EXPECT_TRUE(ParseMeasurement(SplitTabs(line), &m, &error)) << error;
    out.push_back(m);
  }
  return out;
}

const std::vector<FormatRule> kRules = {{"glb", false}, {"wrl", true}};

TEST(FidelityResults, ModelCountsWithItsWorseViewAndEveryFormat) {
  auto models = JudgeModels(Parse({
      "a.iv\tfront\tglb\t1.0\t50\to\tg\td",                  // glb: colour not judged
      "a.iv\tabove\tglb\t0.995\t0\to\tg\td",
      "a.iv\tfront\twrl\t1.0\t3.5\to\tw\td",
      "a.iv\tabove\twrl\t1.0\t4.5\to\tw\td",                 // colour too far on one view
      "b.iv\tfront\tglb\t0.98\t0\to\tg\td",
      "b.iv\tfront\twrl\tfailed\tCoin3D cannot read it\to",
      "c.iv\tfront\tglb\t1.0\t0\to\tg\td",                   // no .wrl line at all
      "d.iv\tfront\toriginal\tfailed\tCoin3D cannot read it",
      "d.iv\tfront\tglb\tfailed\tkavrel-convert: failed",
  }), kRules, Thresholds{});
  ASSERT_EQ(models.size(), 4u);
  const FormatResult &a_glb = models[0].formats.at("glb"), &a_wrl = models[0].formats.at("wrl");
  EXPECT_TRUE(a_glb.passes);
  EXPECT_EQ(a_glb.overlap, 0.995);
  EXPECT_EQ(a_glb.view, "above");
  EXPECT_FALSE(a_wrl.passes);
  EXPECT_EQ(a_wrl.mean_diff, 4.5);
  EXPECT_FALSE(models[0].passes());
  EXPECT_EQ(models[0].worst_view(), "above");

  EXPECT_FALSE(models[1].formats.at("glb").passes);
  EXPECT_TRUE(models[1].formats.at("wrl").failed);
  EXPECT_EQ(models[1].formats.at("wrl").reason, "front: Coin3D cannot read it");
  EXPECT_EQ(models[2].formats.at("wrl").reason, "no .wrl result");
  // Without a reference picture a model is not judged at all.
  EXPECT_EQ(models[3].unmeasured, "front: Coin3D cannot read it");
  EXPECT_TRUE(models[3].formats.empty());
  EXPECT_EQ(Summarise(models, "glb", Thresholds{}).measured, 3);
}

TEST(FidelityResults, ShareOfPassingModelsDecides) {
  auto judged = [](int passing, int total) {
    std::vector<std::string> lines;
    for (int i = 0; i < total; ++i) {
      lines.push_back("m" + std::to_string(i) + "\tfront\tglb\t" + (i < passing ? "1" : "0.5") + "\t0\to\tg\td");
    }
    return Summarise(JudgeModels(Parse(lines), {{"glb", false}}, Thresholds{}), "glb", Thresholds{});
  };
  EXPECT_TRUE(judged(19, 20).met);
  EXPECT_FALSE(judged(18, 20).met);
  EXPECT_FALSE(judged(0, 0).met);  // nothing measured: the suite itself failed
}

TEST(FidelityResults, ReportSeparatesListedFromUnexpectedModels) {
  kavrel_test::ScratchDirectory scratch;
  std::string path = scratch.Write("exceptions.txt", "# model reason\n"
                                                     "low.iv   lines are not converted\n"
                                                     "fine.iv\tfixed since\n");
  std::map<std::string, std::string> exceptions;
  std::string error;
  ASSERT_TRUE(ReadExceptions(path, &exceptions, &error)) << error;
  EXPECT_EQ(exceptions.at("low.iv"), "lines are not converted");

  ReportInput input;
  input.rules = {{"glb", false}};
  input.models = JudgeModels(Parse({"low.iv\tfront\tglb\t0.8\t0\to\tg\td", "new.iv\tfront\tglb\t0.9\t0\to\tg\td",
                                    "fine.iv\tfront\tglb\t1\t0\to\tg\td"}),
                             input.rules, input.thresholds);
  for (ModelResult &m : input.models) {
    if (exceptions.count(m.model)) m.exception = exceptions[m.model];
  }
  std::string text = ReportText(input);
  auto section = [&](const std::string &title) {
    size_t start = text.find(title);
    return start == std::string::npos ? std::string() : text.substr(start, text.find("\n\n", start) - start);
  };
  EXPECT_NE(section("Below the thresholds, listed").find("low.iv: glb 0.8000; lines are not converted"),
            std::string::npos) << text;
  EXPECT_NE(section("Below the thresholds, NOT listed").find("new.iv"), std::string::npos) << text;
  EXPECT_NE(section("Listed in the exceptions but meeting").find("fine.iv"), std::string::npos) << text;
  EXPECT_NE(text.find("1 of 3 models meet the thresholds (33.3%, 95% needed): NOT MET"), std::string::npos) << text;
  EXPECT_FALSE(ThresholdsMet(input));
  // The regression gate fails on new.iv alone, and passes once it is listed.
  EXPECT_FALSE(OnlyListedModelsBelow(input));
  input.models[1].exception = "listed now";
  EXPECT_TRUE(OnlyListedModelsBelow(input));
  EXPECT_FALSE(OnlyListedModelsBelow(ReportInput{}));  // nothing measured: the suite itself failed

  // The contact sheet starts with the worst; pictures that are gone become grey tiles.
  auto worst = WorstModels(input.models, 2);
  ASSERT_EQ(worst.size(), 2u);
  EXPECT_EQ(worst[0]->model, "low.iv");
  RgbImage sheet = ContactSheet(worst, {}, input.rules);
  EXPECT_GE(sheet.height, 2 * 256);
  EXPECT_GE(sheet.width, 3 * 256);
}

}  // namespace
}  // namespace kavrel::fidelity
