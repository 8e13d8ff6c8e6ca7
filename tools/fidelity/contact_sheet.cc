#include "tools/fidelity/contact_sheet.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>

#include "tools/fidelity/png_file.h"
#include "tools/fidelity/text_label.h"

namespace kavrel::fidelity {
namespace {

constexpr int kGap = 8;
constexpr int kScale = 2;
const Rgb kPaper{40, 40, 40};
const Rgb kInk{235, 235, 235};
const Rgb kMissing{110, 110, 110};

using PictureKey = std::tuple<std::string, std::string, std::string>;  // model, view, format

struct Pictures {
  std::map<PictureKey, const Measurement *> by_key;
  int tile = 256;  // the size of the first picture that can be read
};

Pictures IndexPictures(const std::vector<Measurement> &measurements) {
  Pictures pictures;
  bool sized = false;
  for (const Measurement &m : measurements) {
    if (m.failed) continue;
    pictures.by_key[{m.model, m.view, m.format}] = &m;
    RgbImage image;
    std::string error;
    if (!sized && ReadPng(m.original_png, &image, &error)) {
      pictures.tile = std::max(image.width, image.height);
      sized = true;
    }
  }
  return pictures;
}

RgbImage Tile(const std::string &path, int size) {
  RgbImage image;
  std::string error;
  if (!path.empty() && ReadPng(path, &image, &error)) return image;
  RgbImage missing(size, size, kMissing);
  DrawText("no picture", kGap, kGap, kScale, kInk, &missing);
  return missing;
}

std::string RowLabel(const ModelResult &model, const std::string &view, const std::vector<FormatRule> &rules) {
  std::string label = model.model + "  (" + view + ")";
  for (const FormatRule &rule : rules) {
    const FormatResult &r = model.formats.at(rule.format);
    char figures[96];
    if (r.failed) {
      std::snprintf(figures, sizeof figures, "  %s failed", rule.format.c_str());
    } else if (rule.colour) {
      std::snprintf(figures, sizeof figures, "  %s overlap %.4f diff %.2f", rule.format.c_str(), r.overlap,
                    r.mean_diff);
    } else {
      std::snprintf(figures, sizeof figures, "  %s overlap %.4f", rule.format.c_str(), r.overlap);
    }
    label += figures;
  }
  return label;
}

int HeaderHeight() { return kGap + 3 * TextLineHeight(kScale) + kGap; }

void DrawHeader(const std::vector<FormatRule> &rules, int tile, RgbImage *sheet) {
  int line = TextLineHeight(kScale);
  DrawText("The worst models: Coin3D renders the original, our conversions beside it.", kGap, kGap, kScale, kInk,
           sheet);
  DrawText("Difference: yellow only in the original, cyan only in ours, grey the colour difference x4.", kGap,
           kGap + line, kScale, kInk, sheet);
  int x = kGap, y = kGap + 2 * line;
  DrawText("original (Coin3D)", x, y, kScale, kInk, sheet);
  for (const FormatRule &rule : rules) {
    x += tile + kGap;
    DrawText("ours ." + rule.format + (rule.colour ? " (Coin3D)" : " (f3d)"), x, y, kScale, kInk, sheet);
    x += tile + kGap;
    DrawText("difference", x, y, kScale, kInk, sheet);
  }
}

void DrawRow(const ModelResult &model, const Pictures &pictures, const std::vector<FormatRule> &rules, int y,
             RgbImage *sheet) {
  std::string view = model.worst_view();
  DrawText(RowLabel(model, view, rules), kGap, y, kScale, kInk, sheet);
  // The original once, then ours and the difference for each format.
  std::vector<std::string> paths(1);
  for (const FormatRule &rule : rules) {
    auto found = pictures.by_key.find({model.model, view, rule.format});
    const Measurement *m = found == pictures.by_key.end() ? nullptr : found->second;
    if (m && paths[0].empty()) paths[0] = m->original_png;
    paths.push_back(m ? m->ours_png : "");
    paths.push_back(m ? m->diff_png : "");
  }
  int x = kGap;
  for (const std::string &path : paths) {
    Paste(Tile(path, pictures.tile), x, y + TextLineHeight(kScale), sheet);
    x += pictures.tile + kGap;
  }
}

int RowHeight(int tile) { return TextLineHeight(kScale) + tile + kGap; }

}  // namespace

std::vector<const ModelResult *> WorstModels(const std::vector<ModelResult> &models, size_t count) {
  std::vector<const ModelResult *> ranked;
  for (const ModelResult &m : models) {
    if (m.unmeasured.empty()) ranked.push_back(&m);
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const ModelResult *a, const ModelResult *b) { return a->badness() > b->badness(); });
  ranked.resize(std::min(ranked.size(), count));
  return ranked;
}

RgbImage ContactSheet(const std::vector<const ModelResult *> &rows, const std::vector<Measurement> &measurements,
                      const std::vector<FormatRule> &rules) {
  Pictures pictures = IndexPictures(measurements);
  int columns = 1 + 2 * int(rules.size());
  int width = std::max(kGap + columns * (pictures.tile + kGap), 1100);
  int header = HeaderHeight();
  RgbImage sheet(width, header + int(rows.size()) * RowHeight(pictures.tile), kPaper);
  DrawHeader(rules, pictures.tile, &sheet);
  for (size_t i = 0; i < rows.size(); ++i) {
    DrawRow(*rows[i], pictures, rules, header + int(i) * RowHeight(pictures.tile), &sheet);
  }
  return sheet;
}

}  // namespace kavrel::fidelity
