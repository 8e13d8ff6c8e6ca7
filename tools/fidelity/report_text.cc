#include "tools/fidelity/report_text.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace kavrel::fidelity {
namespace {

std::string Printf(const char *format, double a, double b = 0, double c = 0) {
  char text[256];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

// "0.9876" or "0.9876 / 2.31" (overlap, then mean difference where colours are judged).
std::string Figures(const FormatResult &r, const FormatRule &rule) {
  if (r.failed) return "failed";
  return rule.colour ? Printf("%.4f / %.2f", r.overlap, r.mean_diff) : Printf("%.4f", r.overlap);
}

std::string FiguresOfAll(const ModelResult &model, const std::vector<FormatRule> &rules) {
  std::string text;
  for (const FormatRule &rule : rules) {
    const FormatResult &r = model.formats.at(rule.format);
    text += (text.empty() ? "" : ", ") + rule.format + " " + Figures(r, rule);
    if (r.failed) text += " (" + r.reason + ")";
  }
  return text;
}

template <typename Keep>
int Count(const std::vector<ModelResult> &models, const std::string &format, Keep keep) {
  return int(std::count_if(models.begin(), models.end(), [&](const ModelResult &m) {
    auto r = m.formats.find(format);
    return r != m.formats.end() && keep(r->second);
  }));
}

void Distribution(const ReportInput &in, const FormatRule &rule, std::ostringstream &out) {
  auto overlap_at_least = [](double v) { return [v](const FormatResult &r) { return !r.failed && r.overlap >= v; }; };
  out << "  overlap 1: " << Count(in.models, rule.format, overlap_at_least(1.0))
      << ", >= 0.99: " << Count(in.models, rule.format, overlap_at_least(0.99))
      << ", >= 0.97: " << Count(in.models, rule.format, overlap_at_least(0.97))
      << ", below 0.97 or failed: " << Count(in.models, rule.format, [](const FormatResult &r) {
           return r.failed || r.overlap < 0.97;
         }) << "\n";
  if (!rule.colour) return;
  auto diff_at_most = [](double v) { return [v](const FormatResult &r) { return !r.failed && r.mean_diff <= v; }; };
  out << "  mean difference <= 1/255: " << Count(in.models, rule.format, diff_at_most(1))
      << ", <= 4/255: " << Count(in.models, rule.format, diff_at_most(4))
      << ", <= 10/255: " << Count(in.models, rule.format, diff_at_most(10)) << "\n";
}

void Worst(const ReportInput &in, const FormatRule &rule, std::ostringstream &out) {
  std::vector<const ModelResult *> ranked;
  for (const ModelResult &m : in.models) {
    if (m.formats.count(rule.format)) ranked.push_back(&m);
  }
  auto badness = [&](const ModelResult *m) { return m->formats.at(rule.format).badness; };
  std::stable_sort(ranked.begin(), ranked.end(), [&](auto *a, auto *b) { return badness(a) > badness(b); });
  ranked.resize(std::min<size_t>(ranked.size(), 10));
  out << "  worst ten:";
  for (const ModelResult *m : ranked) {
    const FormatResult &r = m->formats.at(rule.format);
    out << "\n    " << m->model << " " << Figures(r, rule) << (r.failed ? " (" + r.reason + ")" : " (" + r.view + ")");
  }
  out << "\n";
}

void Verdicts(const ReportInput &in, std::ostringstream &out) {
  for (const FormatRule &rule : in.rules) {
    FormatSummary s = Summarise(in.models, rule.format, in.thresholds);
    out << "\n." << rule.format << (rule.colour ? " (silhouette and colour): " : " (silhouette): ") << s.passing
        << " of " << s.measured << " models meet the thresholds"
        << Printf(" (%.1f%%, %.0f%% needed): ", s.measured ? 100.0 * s.passing / s.measured : 100.0,
                  100 * in.thresholds.share)
        << (s.met ? "met" : "NOT MET") << "\n";
    Distribution(in, rule, out);
    Worst(in, rule, out);
  }
}

const char *Verdict(const ModelResult &m) {
  if (!m.unmeasured.empty()) return "not measured";
  if (m.passes()) return "ok";
  return m.exception.empty() ? "BELOW" : "below, listed";
}

void Table(const ReportInput &in, std::ostringstream &out) {
  out << "\n";
  char line[256];
  std::snprintf(line, sizeof line, "%-40s", "model");
  out << line;
  for (const FormatRule &rule : in.rules) {
    std::snprintf(line, sizeof line, "  %-18s", (rule.format + (rule.colour ? " overlap / diff" : " overlap")).c_str());
    out << line;
  }
  out << "  verdict\n";
  for (const ModelResult &m : in.models) {
    std::snprintf(line, sizeof line, "%-40s", m.model.c_str());
    out << line;
    for (const FormatRule &rule : in.rules) {
      std::string figures = m.unmeasured.empty() ? Figures(m.formats.at(rule.format), rule) : "-";
      std::snprintf(line, sizeof line, "  %-18s", figures.c_str());
      out << line;
    }
    out << "  " << Verdict(m) << "\n";
  }
}

template <typename Keep, typename Say>
void List(const std::string &title, const std::vector<ModelResult> &models, Keep keep, Say say,
          std::ostringstream &out) {
  std::string lines;
  for (const ModelResult &m : models) {
    if (keep(m)) lines += "  " + m.model + ": " + say(m) + "\n";
  }
  if (!lines.empty()) out << "\n" << title << ":\n" << lines;
}

void Lists(const ReportInput &in, std::ostringstream &out) {
  auto measured_below = [](const ModelResult &m) { return m.unmeasured.empty() && !m.passes(); };
  List("Below the thresholds, listed in the exceptions", in.models,
       [&](const ModelResult &m) { return measured_below(m) && !m.exception.empty(); },
       [&](const ModelResult &m) { return FiguresOfAll(m, in.rules) + "; " + m.exception; }, out);
  List("Below the thresholds, NOT listed in the exceptions", in.models,
       [&](const ModelResult &m) { return measured_below(m) && m.exception.empty(); },
       [&](const ModelResult &m) { return FiguresOfAll(m, in.rules); }, out);
  List("Listed in the exceptions but meeting the thresholds now (take them out)", in.models,
       [&](const ModelResult &m) { return m.unmeasured.empty() && m.passes() && !m.exception.empty(); },
       [&](const ModelResult &m) { return FiguresOfAll(m, in.rules); }, out);
  List("Without a reference picture (not counted)", in.models,
       [](const ModelResult &m) { return !m.unmeasured.empty(); },
       [](const ModelResult &m) { return m.unmeasured; }, out);
}

}  // namespace

std::string ReportText(const ReportInput &in) {
  std::ostringstream out;
  out << "Fidelity: our conversions rendered beside Coin3D's rendering of each original\n";
  for (const std::string &note : in.notes) out << note << "\n";
  out << Printf("Thresholds: silhouette overlap >= %.4g (and mean difference <= %.4g/255 where colours are judged) "
                "on at least %.0f%% of the models; a model counts with its worse view.\n",
                in.thresholds.min_overlap, in.thresholds.max_diff, 100 * in.thresholds.share);
  Verdicts(in, out);
  Lists(in, out);
  Table(in, out);
  return out.str();
}

bool ThresholdsMet(const ReportInput &in) {
  return std::all_of(in.rules.begin(), in.rules.end(), [&](const FormatRule &rule) {
    return Summarise(in.models, rule.format, in.thresholds).met;
  });
}

bool OnlyListedModelsBelow(const ReportInput &in) {
  const auto measured = [](const ModelResult &m) { return m.unmeasured.empty(); };
  return std::any_of(in.models.begin(), in.models.end(), measured) &&
         std::none_of(in.models.begin(), in.models.end(),
                      [&](const ModelResult &m) { return measured(m) && !m.passes() && m.exception.empty(); });
}

}  // namespace kavrel::fidelity
