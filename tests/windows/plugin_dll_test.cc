// The plug-in DLL as a Windows host uses it: loaded with LoadLibrary and
// driven through its one export, calling the host DLLs; a fatal error
// raised inside a host DLL ends the run inside the plug-in DLL.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "kavrel/host.h"
#include "host/import_io.h"
#include "tests/windows/plugin_dll.h"
#include "tests/windows/test_host.h"

namespace {

const char kTwoCubes[] = "#Inventor V2.1 ascii\nSeparator { DEF Left Cube {} Translation { translation 3 0 0 } "
                         "DEF Right Cube {} }\n";

class PluginDll : public testing::Test {
 protected:
  void SetUp() override {
    path_ = support_.path() + "two_cubes.iv";
    std::ofstream(path_) << kTwoCubes;
    StartHost();
  }

  // A fresh Host in the toolkit DLL, current for both host DLLs.
  void StartHost() {
    kavrel::HostSettings settings;
    settings.sinks.report = [this](const std::string &text) { printed_ += text; };
    settings.sinks.error = [](int, const std::string &) {};
    settings.sinks.progress = [this](const std::string &line) {
      if (fail_at_shape_ && line.rfind("Processing", 0) == 0) Import_IO_Report_Error(5, "Disk on fire");
    };
    host_.Restart(std::move(settings));
  }

  int32_t Convert() {
    StartHost();
    windows_test::Send({"initialize"}, {windows_test::Value(support_.path())});
    return windows_test::Send({"execute_geometry_converter", "filename", "quick_naming"},
                              {0, windows_test::Value(path_), windows_test::Value("1")});
  }

  windows_test::SupportDirectory support_;
  std::string path_;
  std::string printed_;
  bool fail_at_shape_ = false;
  windows_test::TestHost host_;
};

TEST_F(PluginDll, ValidatesAndConvertsThroughTokenLists) {
  EXPECT_EQ(windows_test::Send({"validate_header"}, {windows_test::Value(path_)}), 1);
  EXPECT_EQ(Convert(), 0);
  EXPECT_NE(host_->scene().objects.find("Left"), nullptr);
  EXPECT_NE(host_->scene().objects.find("Right"), nullptr);
}

// The error hook throws inside Import_IO_Report_Error: the exception leaves
// the import support DLL, passes this program's sink, the import support
// DLL again, and is caught by the guarded run in the plug-in DLL.
TEST_F(PluginDll, FatalErrorInAHostDllEndsTheRunAndTheNextRunWorks) {
  fail_at_shape_ = true;
  EXPECT_EQ(Convert(), 1);
  EXPECT_NE(printed_.find("Disk on fire"), std::string::npos);
  EXPECT_EQ(host_->scene().objects.find("Left"), nullptr);

  fail_at_shape_ = false;
  EXPECT_EQ(Convert(), 0);
  EXPECT_NE(host_->scene().objects.find("Left"), nullptr);
  EXPECT_NE(host_->scene().objects.find("Right"), nullptr);
}

}  // namespace
