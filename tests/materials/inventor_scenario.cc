#include "inventor_scenario.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "plugin/plugin_module.h"

namespace scenario {
namespace {

int32_t CallEntryPoint(std::vector<const char *> tokens, std::vector<intptr_t> values) {
  tokens.push_back(nullptr);
  values.push_back(0);
  int32_t result = -1;
  Kavrel_Plugin_EntryPoint(tokens.data(), values.data(), &result, 0);
  return result;
}

}  // namespace

Scenario::Scenario() : saved_sinks_(kavrel::report_sinks()) {
  char pattern[] = "/tmp/kavrel-scenario-XXXXXX";
  const char *made = mkdtemp(pattern);
  dir_ = std::string(made ? made : "/tmp") + "/";
  kavrel::ReportSinks sinks;
  sinks.report = [this](const std::string &text) { printed += text; };
  sinks.error = [this](int level, const std::string &text) { errors.emplace_back(level, text); };
  sinks.progress = [](const std::string &) {};
  kavrel::SetReportSinks(sinks);
}

Scenario::~Scenario() {
  kavrel::SetReportSinks(saved_sinks_);
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

int32_t Scenario::ConvertText(const std::string &text, const Tokens &tokens, const std::function<void()> &adjust) {
  const std::string path = dir_ + "scene.iv";
  std::ofstream(path) << text;
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

std::vector<std::string> Scenario::Errors(int level) const {
  std::vector<std::string> texts;
  for (const auto &error : errors) {
    if (error.first == level) texts.push_back(error.second);
  }
  return texts;
}

std::vector<const kavrel::JournalEntry *> CallsFor(const std::string &call, const std::string &name) {
  std::vector<const kavrel::JournalEntry *> found;
  for (const kavrel::JournalEntry *entry : kavrel::journal().calls(call)) {
    auto first_string = std::find_if(entry->items.begin(), entry->items.end(),
                                     [](const kavrel::JournalItem &item) { return item.kind == kavrel::JournalItem::kString; });
    if (name.empty() || (first_string != entry->items.end() && first_string->text == name)) found.push_back(entry);
  }
  return found;
}

std::vector<std::string> Lines(const std::string &call, const std::string &name) {
  std::vector<std::string> lines;
  for (const kavrel::JournalEntry *entry : CallsFor(call, name)) lines.push_back(entry->to_string());
  return lines;
}

std::vector<float> FloatsAfter(const kavrel::JournalEntry &entry, const std::string &word) {
  size_t i = 0;
  while (i < entry.items.size() && !(entry.items[i].kind == kavrel::JournalItem::kToken && entry.items[i].text == word)) ++i;
  for (++i; i < entry.items.size() && entry.items[i].kind != kavrel::JournalItem::kGroupEnd; ++i) {
    if (entry.items[i].kind == kavrel::JournalItem::kFloats) return entry.items[i].floats;
  }
  return {};
}

bool WriteSgiImage(const std::string &path, int width, int height, int components,
                   const std::vector<uint8_t> &bytes) {
  // A 512-byte big-endian header (magic, verbatim 8-bit, 3 dimensions, sizes,
  // largest value 255), then the bytes channel by channel.
  std::string header(512, '\0');
  const int fields[] = {474, 0x0001, 3, width, height, components};
  for (int i = 0; i < 6; ++i) {
    header[2 * i] = static_cast<char>(fields[i] >> 8);
    header[2 * i + 1] = static_cast<char>(fields[i]);
  }
  header[19] = static_cast<char>(255);
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
  uint16_t samples = 0;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &h);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  *components = samples;
  bytes->assign(static_cast<size_t>(w) * h * samples, 0);
  bool ok = TIFFScanlineSize(tiff) == static_cast<tmsize_t>(w * samples);
  for (uint32_t row = 0; row < h && ok; ++row) ok = TIFFReadScanline(tiff, &(*bytes)[row * w * samples], row, 0) >= 0;
  TIFFClose(tiff);
  return ok;
}

}  // namespace scenario
