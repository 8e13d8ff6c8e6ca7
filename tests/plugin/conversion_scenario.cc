#include "tests/plugin/conversion_scenario.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "plugin/plugin.h"

namespace plugin_test {

namespace {

// A new directory under the system's temporary folder, on every platform.
std::string NewScratchDirectory() {
  std::random_device random;
  for (;;) {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / ("kavrel-plugin-" + std::to_string(random()));
    if (std::filesystem::create_directory(dir)) return dir.string() + "/";
  }
}

}  // namespace

Conversion::Conversion() : dir_(NewScratchDirectory()) { StartHost(); }

Conversion::~Conversion() {
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

void Conversion::StartHost() {
  kavrel::HostSettings settings;
  settings.sinks.report = [this](const std::string &text) { printed += text; };
  settings.sinks.error = [this](int level, const std::string &text) { errors.emplace_back(level, text); };
  settings.sinks.progress = [this](const std::string &line) {
    if (on_progress) on_progress(line);
  };
  settings.environment = environment;
  current_.reset();
  host_ = std::make_unique<kavrel::Host>(std::move(settings));
  current_.emplace(*host_);
}

std::string Conversion::Write(const std::string &name, const std::string &text) const {
  const std::string path = dir_ + name;
  std::ofstream(path) << text;
  return path;
}

int32_t Conversion::Convert(const std::string &path, const Tokens &tokens, const std::function<void()> &adjust) {
  StartHost();
  errors.clear();
  printed.clear();
  CallEntryPoint({"initialize"}, {TextValue(dir_)});
  if (adjust) adjust();
  host_->journal().clear();
  std::vector<const char *> names = {"execute_geometry_converter", "filename"};
  std::vector<intptr_t> values = {0, TextValue(path)};
  for (const auto &token : tokens) {
    names.push_back(token.first.c_str());
    values.push_back(TextValue(token.second));
  }
  return CallEntryPoint(names, values);
}

int32_t Conversion::ConvertText(const std::string &text, const Tokens &tokens, const std::function<void()> &adjust) {
  return Convert(Write("scene.iv", text), tokens, adjust);
}

std::vector<std::string> Conversion::Errors(int level) const {
  std::vector<std::string> texts;
  for (const auto &report : errors) {
    if (report.first == level) texts.push_back(report.second);
  }
  return texts;
}

int32_t CallEntryPoint(std::vector<const char *> tokens, std::vector<intptr_t> values) {
  tokens.push_back(nullptr);
  values.push_back(0);
  int32_t result = 99;
  Kavrel_Plugin_EntryPoint(tokens.data(), values.data(), &result, 0);
  return result;
}

intptr_t TextValue(const std::string &text) { return reinterpret_cast<intptr_t>(text.c_str()); }

std::vector<std::string> CallLines(const std::string &call) {
  std::vector<std::string> lines;
  for (const kavrel::JournalEntry *entry : kavrel::CurrentHost().journal().calls(call)) {
    lines.push_back(entry->to_string());
  }
  return lines;
}

std::vector<std::string> DefinedObjects() {
  std::vector<std::string> names;
  for (const kavrel::JournalEntry *entry : kavrel::CurrentHost().journal().calls("Kv_Object_Define")) {
    names.push_back(entry->items.empty() ? "" : entry->items[0].text);
  }
  return names;
}

std::vector<float> FloatsAfter(const kavrel::JournalEntry &entry, const std::string &word) {
  for (size_t i = 0; i + 1 < entry.items.size(); ++i) {
    const kavrel::JournalItem &item = entry.items[i];
    if (item.kind == kavrel::JournalItem::kToken && item.text == word &&
        entry.items[i + 1].kind == kavrel::JournalItem::kFloats) {
      return entry.items[i + 1].floats;
    }
  }
  return {};
}

}  // namespace plugin_test
