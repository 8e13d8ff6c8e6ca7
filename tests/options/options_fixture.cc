#include "tests/options/options_fixture.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "kavrel/host.h"
#include "plugin/plugin.h"

void OptionsTest::SetUp() {
  // A name outside ASCII: the preferences path is passed on and opened as bytes.
  char pattern[] = "/tmp/kavrel-options-\u00e9t\u00e9-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  directory_ = std::string(pattern) + "/";
  kavrel::ReportSinks &sinks = host_.settings().sinks;
  sinks.report = [](const std::string &) {};
  sinks.progress = [](const std::string &) {};
  sinks.error = [this](int level, const std::string &text) { errors_.emplace_back(level, text); };
  win32::ClearMessageBoxLog();
  Initialize();
}

void OptionsTest::TearDown() { std::filesystem::remove_all(directory_); }

void OptionsTest::Initialize() {
  const char *tokens[] = {"initialize", nullptr};
  intptr_t values[] = {reinterpret_cast<intptr_t>(directory_.c_str()), 0};
  int32_t result = 0;
  Kavrel_Plugin_EntryPoint(tokens, values, &result, 0);
}

int OptionsTest::Command(const char *token) {
  const char *tokens[] = {token, nullptr};
  intptr_t values[] = {0, 0};
  int32_t result = 0;
  Kavrel_Plugin_EntryPoint(tokens, values, &result, 0);
  return result;
}

int OptionsTest::ShowOptions(win32::ScriptedUser &user) {
  win32::ScopedDialogUser scoped(&user);
  int result = Command("show_options_dialog");
  EXPECT_EQ(user.remaining(), 0u) << "the dialog closed before the script ended";
  return result;
}

int OptionsTest::ShowAbout(win32::ScriptedUser &user) {
  win32::ScopedDialogUser scoped(&user);
  int result = Command("show_about_dialog");
  EXPECT_EQ(user.remaining(), 0u) << "the box closed before the script ended";
  return result;
}

void OptionsTest::WritePreferences(const std::string &text) const {
  std::ofstream(PreferencesPath(), std::ios::binary) << text;
}

std::string OptionsTest::ReadPreferences() const {
  std::ifstream in(PreferencesPath(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string OptionsTest::StoredValue(const std::string &key) const {
  std::istringstream lines(ReadPreferences());
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind(key + " = ", 0) == 0) return line.substr(key.size() + 3);
  }
  return "";
}

std::vector<std::pair<std::string, std::string>> OptionsTest::Messages() const {
  std::vector<std::pair<std::string, std::string>> shown;
  for (const auto &box : win32::MessageBoxLog()) shown.emplace_back(box.caption, box.text);
  return shown;
}
