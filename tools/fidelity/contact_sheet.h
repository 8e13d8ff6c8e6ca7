// One picture of the worst models: a row each with the original, and per
// judged format our conversion and the difference, labelled.
#ifndef KAVREL_TOOLS_FIDELITY_CONTACT_SHEET_H
#define KAVREL_TOOLS_FIDELITY_CONTACT_SHEET_H

#include <vector>

#include "tools/fidelity/fidelity_results.h"
#include "tools/fidelity/rgb_image.h"

namespace kavrel::fidelity {

// The measured models ordered from the worst, at most `count` of them.
std::vector<const ModelResult *> WorstModels(const std::vector<ModelResult> &models, size_t count);

// Each row shows the model's worst view; a picture that cannot be read is a
// grey tile. `rules` give the columns after the original.
RgbImage ContactSheet(const std::vector<const ModelResult *> &rows, const std::vector<Measurement> &measurements,
                      const std::vector<FormatRule> &rules);

}  // namespace kavrel::fidelity

#endif
