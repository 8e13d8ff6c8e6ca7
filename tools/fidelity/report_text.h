// The suite's report as people read it: the verdict per format, the
// distribution of the figures, every model's row and the lists that need a
// look (below the thresholds with or without a listed reason, listed but
// passing now, not measured).
#ifndef KAVREL_TOOLS_FIDELITY_REPORT_TEXT_H
#define KAVREL_TOOLS_FIDELITY_REPORT_TEXT_H

#include <string>
#include <vector>

#include "tools/fidelity/fidelity_results.h"

namespace kavrel::fidelity {

struct ReportInput {
  std::vector<ModelResult> models;   // judged, with their exceptions filled in
  std::vector<FormatRule> rules;     // the formats judged, in column order
  Thresholds thresholds;
  std::vector<std::string> notes;    // lines the caller adds under the title
};

std::string ReportText(const ReportInput &input);

// Whether every judged format meets its share.
bool ThresholdsMet(const ReportInput &input);

// The regression gate: some model was measured, and every measured model
// below the thresholds is listed in the exceptions.
bool OnlyListedModelsBelow(const ReportInput &input);

}  // namespace kavrel::fidelity

#endif
