// A plug-in initialised on a fresh support directory, with a fresh Host
// current and its reports captured, for the preferences file and dialog
// tests.
#ifndef TESTS_OPTIONS_OPTIONS_FIXTURE_H
#define TESTS_OPTIONS_OPTIONS_FIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "kavrel/host.h"
#include "win32/dialog_driver.h"

class OptionsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Sends "initialize" with the support directory (ending with "/").
  void Initialize();
  // Sends one command token; returns the result.
  int Command(const char *token);
  // Runs the options dialog (or the about box) with the script as its user;
  // a failure of the test when a step of the script was never run.
  int ShowOptions(win32::ScriptedUser &user);
  int ShowAbout(win32::ScriptedUser &user);

  std::string PreferencesPath() const { return directory_ + "vorlix.ini"; }
  void WritePreferences(const std::string &text) const;
  std::string ReadPreferences() const;
  // The value written for a key, "" when the file lacks it.
  std::string StoredValue(const std::string &key) const;
  // Message boxes shown so far: caption and text.
  std::vector<std::pair<std::string, std::string>> Messages() const;

  std::string directory_;
  std::vector<std::pair<int, std::string>> errors_;  // level, text
  kavrel::Host host_;
  kavrel::CurrentHostScope current_{host_};
};

#endif
