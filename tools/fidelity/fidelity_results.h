// The suite's measurements, gathered per model and judged against the
// thresholds. A model is judged by its worse view.
#ifndef KAVREL_TOOLS_FIDELITY_FIDELITY_RESULTS_H
#define KAVREL_TOOLS_FIDELITY_FIDELITY_RESULTS_H

#include <map>
#include <string>
#include <vector>

namespace kavrel::fidelity {

// One line of the suite's results file: one model, view and output format.
// The format "original" stands for the reference picture itself, and only
// appears when that failed.
struct Measurement {
  std::string model;          // path below the corpus directory
  std::string view;           // the camera's name
  std::string format;         // output extension, or "original"
  bool failed = false;        // nothing to compare: conversion, rendering or comparison failed
  std::string reason;         // why it failed
  double overlap = 0;         // silhouette intersection over union
  double mean_diff = 0;       // mean absolute RGB difference, in 1/255 steps
  std::string original_png;   // the pictures behind the figures
  std::string ours_png;
  std::string diff_png;
};

// "MODEL VIEW FORMAT OVERLAP MEAN_DIFF ORIGINAL OURS DIFF" or
// "MODEL VIEW FORMAT failed REASON [ORIGINAL]", tab-separated.
bool ParseMeasurement(const std::vector<std::string> &fields, Measurement *measurement, std::string *error);

struct Thresholds {
  double min_overlap = 0.99;  // a model's silhouette overlap must reach this
  double max_diff = 4;        // and, where colours are judged, its mean difference stay within this
  double share = 0.95;        // the share of measured models that must do so
};

// How one output format is judged.
struct FormatRule {
  std::string format;         // output extension
  bool colour = false;        // the mean difference is judged too (same renderer on both sides)
};

// One model in one format: its worse view's figures.
struct FormatResult {
  bool failed = false;        // some view had nothing to compare, or no line came for it
  std::string reason;
  double overlap = 0;         // the lowest overlap of its views
  double mean_diff = 0;       // the highest mean difference of its views
  std::string view;           // the worst view, or the first that failed
  bool passes = false;        // meets the thresholds for its rule
  double badness = 0;         // how far from the thresholds: 1 at a threshold, larger is worse
};

struct ModelResult {
  std::string model;
  std::string unmeasured;                        // why there is no reference picture; empty when there is
  std::map<std::string, FormatResult> formats;   // by format, for every rule
  std::string exception;                         // the reason the exceptions file gives, if it lists it
  bool passes() const;                           // every format passes
  double badness() const;                        // the worst format's
  std::string worst_view() const;                // the worst format's view
};

// The models in order of first appearance, each with a result for every rule.
std::vector<ModelResult> JudgeModels(const std::vector<Measurement> &measurements,
                                     const std::vector<FormatRule> &rules, const Thresholds &thresholds);

// "MODEL REASON" per line, separated by the first run of blanks; # starts a comment.
bool ReadExceptions(const std::string &path, std::map<std::string, std::string> *exceptions, std::string *error);

struct FormatSummary {
  int measured = 0;           // models with a reference picture
  int passing = 0;            // of them meeting the thresholds
  bool met = false;           // passing / measured reaches the share
};
FormatSummary Summarise(const std::vector<ModelResult> &models, const std::string &format,
                        const Thresholds &thresholds);

}  // namespace kavrel::fidelity

#endif
