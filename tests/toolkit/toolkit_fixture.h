// A fresh Host per test, current while the test runs, with its reports
// collected instead of printed.
#ifndef TESTS_TOOLKIT_TOOLKIT_FIXTURE_H
#define TESTS_TOOLKIT_TOOLKIT_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "host/kv_call.hpp"
#include "host/kv_toolkit.h"
#include "kavrel/host.h"

using kv::kv_list;
using kv::tok;
constexpr intptr_t kGroup = KV_GROUP_END;

// A directory of its own for a test's files, deleted afterwards.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kavrel-toolkit-XXXXXX").string();
    dir_ = mkdtemp(pattern.data()) ? pattern : "";
  }
  ~ScratchDir() { std::filesystem::remove_all(dir_); }
  std::string path(const std::string &name) const { return dir_ + "/" + name; }
  std::vector<std::string> files() const {
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(dir_)) names.push_back(entry.path().filename());
    return names;
  }

 private:
  std::string dir_;
};

class ToolkitTest : public ::testing::Test {
 protected:
  ToolkitTest() {
    kavrel::ReportSinks &sinks = host_.settings().sinks;
    sinks.report = [](const std::string &) {};
    sinks.progress = [](const std::string &) {};
    sinks.error = [this](int level, const std::string &text) {
      errors.push_back("level " + std::to_string(level) + ": " + text);
    };
  }

  // The readable form of the last journal entry of a call.
  std::string Last(const std::string &call) const {
    auto entries = host_.journal().calls(call);
    return entries.empty() ? "(no " + call + ")" : entries.back()->to_string();
  }

  // The scene once the mesh work handed on has run.
  kavrel::Scene &db() {
    host_.SettleMeshes();
    return host_.scene();
  }

  std::vector<std::string> errors;
  kavrel::Host host_;
  kavrel::CurrentHostScope current_{host_};
};

#endif
