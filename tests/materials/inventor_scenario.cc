#include "inventor_scenario.h"

#include <tiffio.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "plugin/plugin_module.h"

namespace scenario {
namespace {

int32_t CallEntryPoint(std::vector<const char *> tokens, std::vector<intptr_t> values) {
  tokens.push_back(nullptr);
  values.push_back(0);
  int32_t result = 0;
  Kavrel_Plugin_EntryPoint(tokens.data(), values.data(), &result, 0);
  return result;
}

}  // namespace

Scenario::Scenario() {
  char pattern[] = "/tmp/kavrel-scenario-XXXXXX";
  const char *made = mkdtemp(pattern);
  dir_ = std::string(made ? made : "/tmp") + "/";
  saved_sinks_ = kavrel::report_sinks();
  kavrel::ReportSinks sinks;
  sinks.report = [this](const std::string &text) { printed += text; };
  sinks.error = [this](int level, const std::string &text) { errors.push_back({level, text}); };
  sinks.progress = [](const std::string &) {};
  kavrel::SetReportSinks(sinks);
}

Scenario::~Scenario() {
  kavrel::SetReportSinks(saved_sinks_);
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string Scenario::Write(const std::string &name, const std::string &text) const {
  const std::string path = dir_ + name;
  std::ofstream(path) << text;
  return path;
}

int32_t Scenario::Convert(const std::string &path, const Tokens &tokens, const std::function<void()> &adjust) {
  kavrel::ResetHost();
  errors.clear();
  printed.clear();
  CallEntryPoint({"initialize"}, {reinterpret_cast<intptr_t>(dir_.c_str())});
  if (adjust) adjust();
  kavrel::journal().clear();
  std::vector<const char *> names = {"execute_geometry_converter", "filename"};
  std::vector<intptr_t> values = {0, reinterpret_cast<intptr_t>(path.c_str())};
  for (const auto &token : tokens) {
    names.push_back(token.first.c_str());
    values.push_back(reinterpret_cast<intptr_t>(token.second.c_str()));
  }
  return CallEntryPoint(names, values);
}

int32_t Scenario::ConvertText(const std::string &text, const Tokens &tokens, const std::function<void()> &adjust) {
  return Convert(Write("scene.iv", text), tokens, adjust);
}

std::string Words(const kavrel::JournalEntry &entry) {
  std::string out;
  for (const kavrel::JournalItem &item : entry.items) {
    if (item.kind == kavrel::JournalItem::kToken || item.kind == kavrel::JournalItem::kString) {
      out += (out.empty() ? "" : " ") + item.text;
    } else if (item.kind == kavrel::JournalItem::kGroupEnd) {
      out += " |";
    }
  }
  return out;
}

std::vector<std::string> CallLines(const std::string &call) {
  std::vector<std::string> lines;
  for (const kavrel::JournalEntry *entry : kavrel::journal().calls(call)) lines.push_back(entry->to_string());
  return lines;
}

std::vector<const kavrel::JournalEntry *> CallsFor(const std::string &call, const std::string &name) {
  std::vector<const kavrel::JournalEntry *> found;
  for (const kavrel::JournalEntry *entry : kavrel::journal().calls(call)) {
    for (const kavrel::JournalItem &item : entry->items) {
      if (item.kind != kavrel::JournalItem::kString) continue;
      if (item.text == name) found.push_back(entry);
      break;
    }
  }
  return found;
}

std::vector<float> FloatsAfter(const kavrel::JournalEntry &entry, const std::string &word) {
  for (size_t i = 0; i + 1 < entry.items.size(); ++i) {
    if (entry.items[i].kind != kavrel::JournalItem::kToken || entry.items[i].text != word) continue;
    for (size_t j = i + 1; j < entry.items.size(); ++j) {
      if (entry.items[j].kind == kavrel::JournalItem::kFloats) return entry.items[j].floats;
      if (entry.items[j].kind == kavrel::JournalItem::kGroupEnd) break;
    }
  }
  return {};
}

std::vector<std::string> ErrorTexts(const Scenario &run, int level) {
  std::vector<std::string> texts;
  for (const Report &report : run.errors) {
    if (report.level == level) texts.push_back(report.text);
  }
  return texts;
}

bool WriteSgiImage(const std::string &path, int width, int height, int components,
                   const std::vector<uint8_t> &bytes) {
  // Uncompressed SGI image: a 512-byte big-endian header, then channel by channel, row by row.
  std::string header(512, '\0');
  const int fields[] = {474, 0x0001, 3, width, height, components};  // magic, verbatim 8-bit, dimensions
  for (int i = 0; i < 6; ++i) {
    header[2 * i] = static_cast<char>(fields[i] >> 8);
    header[2 * i + 1] = static_cast<char>(fields[i]);
  }
  header[19] = static_cast<char>(255);  // largest pixel value
  std::ofstream out(path, std::ios::binary);
  out << header;
  for (int c = 0; c < components; ++c) {
    for (size_t i = c; i < bytes.size(); i += components) out.put(static_cast<char>(bytes[i]));
  }
  return static_cast<bool>(out);
}

bool ReadTiff(const std::string &path, int *width, int *height, int *components, std::vector<uint8_t> *bytes) {
  TIFF *tiff = TIFFOpen(path.c_str(), "r");
  if (!tiff) return false;
  uint32_t w = 0, h = 0;
  uint16_t spp = 0;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &h);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &spp);
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  *components = spp;
  bytes->assign(static_cast<size_t>(w) * h * spp, 0);
  bool ok = TIFFScanlineSize(tiff) == static_cast<tmsize_t>(w * spp);
  for (uint32_t row = 0; row < h && ok; ++row) ok = TIFFReadScanline(tiff, &(*bytes)[row * w * spp], row, 0) >= 0;
  TIFFClose(tiff);
  return ok;
}

}  // namespace scenario
