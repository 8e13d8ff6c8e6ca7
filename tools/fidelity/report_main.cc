// fidelity-report: judges the suite's measurements against the thresholds,
// writes the report and the contact sheet of the worst models, and exits
// with status 1 when a judged format misses its share (or, with --gate
// listed, when a model below the thresholds is not in the exceptions).
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "tools/fidelity/contact_sheet.h"
#include "tools/fidelity/png_file.h"
#include "tools/fidelity/report_text.h"
#include "tools/fidelity/tab_lines.h"

namespace kavrel::fidelity {
namespace {

constexpr int kBadInput = 2;

bool ReadMeasurements(const std::string &path, std::vector<Measurement> *measurements, std::string *error) {
  bool parsed = true;
  bool read = ForEachTabLine(path, [&](const std::vector<std::string> &fields) {
    Measurement m;
    if (parsed && !ParseMeasurement(fields, &m, error)) parsed = false;
    if (parsed) measurements->push_back(m);
  }, error);
  return read && parsed;
}

void AttachExceptions(const std::map<std::string, std::string> &exceptions, std::vector<ModelResult> *models) {
  for (ModelResult &model : *models) {
    auto found = exceptions.find(model.model);
    if (found != exceptions.end()) model.exception = found->second.empty() ? "(no reason given)" : found->second;
  }
}

int Run(int argc, char **argv) {
  CLI::App app{"Judges the fidelity suite's measurements: writes the report and the contact sheet of the worst "
               "models, and fails when a judged format misses the thresholds.",
               "fidelity-report"};
  std::string results_path, exceptions_path, report_path, sheet_path;
  std::vector<std::string> silhouette_formats, colour_formats;
  ReportInput input;
  size_t sheet_rows = 12;
  app.add_option("--results", results_path, "The measurements, one per line (tab-separated)")->required();
  app.add_option("--exceptions", exceptions_path, "Models known to be below, with the reason");
  app.add_option("--silhouette", silhouette_formats, "A format judged by its silhouette overlap, repeatable");
  app.add_option("--colour", colour_formats, "A format judged by its overlap and its mean difference, repeatable");
  app.add_option("--min-overlap", input.thresholds.min_overlap, "Default 0.99");
  app.add_option("--max-diff", input.thresholds.max_diff, "Mean difference in 1/255 steps, default 4");
  app.add_option("--share", input.thresholds.share, "Share of the models that must meet both, default 0.95");
  app.add_option("--note", input.notes, "A line for the report's head, repeatable");
  app.add_option("--report", report_path, "Write the report here (default: standard output)");
  app.add_option("--contact-sheet", sheet_path, "Write the contact sheet PNG here");
  app.add_option("--sheet-rows", sheet_rows, "Models on the contact sheet, default 12");
  std::string gate = "shares";
  app.add_option("--gate", gate,
                 "What decides the exit status: \"shares\" (default), every format's share; \"listed\", that "
                 "every model below the thresholds is in the exceptions (a regression test while a share is "
                 "still out of reach)")
      ->check(CLI::IsMember({"shares", "listed"}));
  CLI11_PARSE(app, argc, argv);

  for (const std::string &f : silhouette_formats) input.rules.push_back({f, false});
  for (const std::string &f : colour_formats) input.rules.push_back({f, true});
  std::vector<Measurement> measurements;
  std::map<std::string, std::string> exceptions;
  std::string error;
  if (!ReadMeasurements(results_path, &measurements, &error) ||
      (!exceptions_path.empty() && !ReadExceptions(exceptions_path, &exceptions, &error))) {
    std::cerr << "fidelity-report: " << error << "\n";
    return kBadInput;
  }
  input.models = JudgeModels(measurements, input.rules, input.thresholds);
  AttachExceptions(exceptions, &input.models);
  std::string text = ReportText(input);
  if (report_path.empty()) {
    std::cout << text;
  } else if (!(std::ofstream(report_path) << text)) {
    std::cerr << "fidelity-report: cannot write " << report_path << "\n";
    return kBadInput;
  }
  if (!sheet_path.empty() &&
      !WritePng(sheet_path, ContactSheet(WorstModels(input.models, sheet_rows), measurements, input.rules), &error)) {
    std::cerr << "fidelity-report: " << error << "\n";
    return kBadInput;
  }
  return (gate == "listed" ? OnlyListedModelsBelow(input) : ThresholdsMet(input)) ? 0 : 1;
}

}  // namespace
}  // namespace kavrel::fidelity

int main(int argc, char **argv) { return kavrel::fidelity::Run(argc, argv); }
