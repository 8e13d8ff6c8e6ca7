#include "tools/fidelity/fidelity_results.h"

#include <algorithm>
#include <fstream>
#include <limits>

namespace kavrel::fidelity {
namespace {

constexpr double kUnusable = std::numeric_limits<double>::infinity();

bool ParseNumber(const std::string &text, double *value) {
  try {
    size_t used = 0;
    *value = std::stod(text, &used);
    return used == text.size();
  } catch (const std::exception &) {
    return false;
  }
}

// 1 at a threshold, larger the farther past it; the worse of silhouette
// and (where judged) colour.
double Badness(double overlap, double mean_diff, const FormatRule &rule, const Thresholds &thresholds) {
  double silhouette = (1 - overlap) / std::max(1e-9, 1 - thresholds.min_overlap);
  double colour = rule.colour ? mean_diff / std::max(1e-9, thresholds.max_diff) : 0;
  return std::max(silhouette, colour);
}

// Folds one view's measurement into the model's result for its format: the
// lowest overlap, the highest difference, the view that is worst.
void AddView(const Measurement &m, const FormatRule &rule, const Thresholds &thresholds, bool first,
             FormatResult *result) {
  if (m.failed) {
    if (!result->failed) {
      result->reason = m.view + ": " + m.reason;
      result->view = m.view;
      result->badness = kUnusable;
    }
    result->failed = true;
    return;
  }
  if (result->failed) return;
  double badness = Badness(m.overlap, m.mean_diff, rule, thresholds);
  if (first || badness > result->badness) {
    result->view = m.view;
    result->badness = badness;
  }
  result->overlap = first ? m.overlap : std::min(result->overlap, m.overlap);
  result->mean_diff = first ? m.mean_diff : std::max(result->mean_diff, m.mean_diff);
}

// The model's result, added at the end the first time it is named.
ModelResult &ModelNamed(const std::string &model, std::vector<ModelResult> *models,
                        std::map<std::string, size_t> *index) {
  auto [entry, added] = index->emplace(model, models->size());
  if (added) {
    models->push_back({});
    models->back().model = model;
  }
  return (*models)[entry->second];
}

// Every measured model gets a result per rule; formats without any line
// count as failed.
void Judge(ModelResult *model, const std::map<std::string, int> &views_seen, const std::vector<FormatRule> &rules,
           const Thresholds &thresholds) {
  for (const FormatRule &rule : rules) {
    FormatResult &result = model->formats[rule.format];
    auto seen = views_seen.find(rule.format);
    if (seen == views_seen.end() && !result.failed) {
      result.failed = true;
      result.reason = "no ." + rule.format + " result";
      result.badness = kUnusable;
    }
    result.passes = !result.failed && result.overlap >= thresholds.min_overlap &&
                    (!rule.colour || result.mean_diff <= thresholds.max_diff);
  }
}

}  // namespace

bool ParseMeasurement(const std::vector<std::string> &fields, Measurement *m, std::string *error) {
  if (fields.size() >= 5 && fields[3] == "failed") {
    *m = {fields[0], fields[1], fields[2], true, fields[4], 0, 0, fields.size() > 5 ? fields[5] : "", "", ""};
    return true;
  }
  if (fields.size() == 8) {
    *m = {fields[0], fields[1], fields[2], false, "", 0, 0, fields[5], fields[6], fields[7]};
    if (ParseNumber(fields[3], &m->overlap) && ParseNumber(fields[4], &m->mean_diff)) return true;
  }
  *error = "not a measurement: " + (fields.empty() ? std::string() : fields[0]);
  return false;
}

bool ModelResult::passes() const {
  return unmeasured.empty() &&
         std::all_of(formats.begin(), formats.end(), [](const auto &entry) { return entry.second.passes; });
}

double ModelResult::badness() const {
  double worst = 0;
  for (const auto &entry : formats) worst = std::max(worst, entry.second.badness);
  return worst;
}

std::string ModelResult::worst_view() const {
  const FormatResult *worst = nullptr;
  for (const auto &entry : formats) {
    if (!entry.second.view.empty() && (!worst || entry.second.badness > worst->badness)) worst = &entry.second;
  }
  return worst ? worst->view : "";
}

std::vector<ModelResult> JudgeModels(const std::vector<Measurement> &measurements,
                                     const std::vector<FormatRule> &rules, const Thresholds &thresholds) {
  std::vector<ModelResult> models;
  std::map<std::string, size_t> index;
  std::map<std::string, std::map<std::string, int>> views_seen;  // model -> format -> lines
  for (const Measurement &m : measurements) {
    ModelResult &model = ModelNamed(m.model, &models, &index);
    if (m.format == "original") {
      if (model.unmeasured.empty()) model.unmeasured = m.view + ": " + m.reason;
      continue;
    }
    auto rule = std::find_if(rules.begin(), rules.end(), [&](const FormatRule &r) { return r.format == m.format; });
    if (rule == rules.end()) continue;
    int &seen = views_seen[m.model][m.format];
    AddView(m, *rule, thresholds, seen++ == 0, &model.formats[m.format]);
  }
  for (ModelResult &model : models) {
    if (model.unmeasured.empty()) {
      Judge(&model, views_seen[model.model], rules, thresholds);
    } else {
      model.formats.clear();
    }
  }
  return models;
}

bool ReadExceptions(const std::string &path, std::map<std::string, std::string> *exceptions, std::string *error) {
  std::ifstream in(path);
  if (!in) {
    *error = path + ": cannot be read";
    return false;
  }
  for (std::string line; std::getline(in, line);) {
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    size_t end = line.find_first_of(" \t", start);
    size_t reason = end == std::string::npos ? end : line.find_first_not_of(" \t", end);
    (*exceptions)[line.substr(start, end - start)] = reason == std::string::npos ? "" : line.substr(reason);
  }
  return true;
}

FormatSummary Summarise(const std::vector<ModelResult> &models, const std::string &format,
                        const Thresholds &thresholds) {
  FormatSummary summary;
  for (const ModelResult &model : models) {
    auto result = model.formats.find(format);
    if (result == model.formats.end()) continue;
    ++summary.measured;
    summary.passing += result->second.passes;
  }
  // No model measured at all means the suite itself is broken.
  summary.met = summary.measured > 0 && summary.passing >= thresholds.share * summary.measured;
  return summary;
}

}  // namespace kavrel::fidelity
