// The run frame, reporting and strings of the import support library.
#include <cstdlib>
#include <cstring>

#include "host/import_io.h"
#include "host_fixture.h"

namespace {

struct HookCall {
  int level;
  std::string message;
};
std::vector<HookCall> hook_calls;
struct RunAborted {};

// Records the error and, like the importer's hook, leaves on a fatal one.
void ThrowingHook(Import_IO_ErrorRecord *record) {
  hook_calls.push_back({record->level, record->message});
  if (record->level == 5) throw RunAborted{};
}

}  // namespace

using RunFrameTest = HostTest;

TEST_F(RunFrameTest, FatalErrorReachesTheHookWhichMayLeaveByException) {
  hook_calls.clear();
  Import_IO_Initialize("scene.iv", ThrowingHook);
  Import_IO_Report_Error(1, "Couldn't open input file.");
  EXPECT_TRUE(hook_calls.empty()) << "only fatal errors go to the hook";
  EXPECT_THROW(Import_IO_Report_Error(5, "Out of memory while naming instance."), RunAborted);
  ASSERT_EQ(hook_calls.size(), 1u);
  EXPECT_EQ(hook_calls[0].level, 5);
  EXPECT_EQ(hook_calls[0].message, "Out of memory while naming instance.");
  ASSERT_EQ(errors_.size(), 2u);
  EXPECT_EQ(errors_[1], std::make_pair(5, std::string("Out of memory while naming instance.")));
  ASSERT_EQ(Calls("Import_IO_Report_Error").size(), 2u);
  EXPECT_EQ(Calls("Import_IO_Report_Error")[1]->items[0].ints, (std::vector<int64_t>{5}));

  // After the run the hook is gone: a fatal error is only reported.
  Import_IO_Cleanup();
  EXPECT_NO_THROW(Import_IO_Report_Error(5, "late"));
}

TEST_F(RunFrameTest, AbortPollAnswersTheHostsRequestAndJournalsTheProgress) {
  Import_IO_AbortCheckRecord record{};
  record.size = sizeof record;
  record.file_size = 1234;
  record.objects_created = 5;
  record.polygons_output = 77;
  EXPECT_EQ(Import_IO_Check_For_Abort(&record), 0);
  host_.RequestAbort();
  EXPECT_NE(Import_IO_Check_For_Abort(&record), 0);
  EXPECT_EQ(Calls("Import_IO_Check_For_Abort")[0]->items[1].ints, (std::vector<int64_t>{1234, 5, 77}));
}

TEST_F(RunFrameTest, ReportLinesOfAnyLengthAndProgressLines) {
  const std::string long_text(20000, 'v');
  Import_IO_printf("%s|%d\n", long_text.c_str(), 42);
  Import_IO_Display_Info_Text("Reading Inventor File");
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_EQ(reports_[0], long_text + "|42\n");
  EXPECT_EQ(progress_, (std::vector<std::string>{"Reading Inventor File"}));
}

TEST_F(RunFrameTest, CopiedStringsAndStrippedWhiteSpace) {
  char *field = nullptr;
  char *copy = Import_IO_Copy_String(&field, "C:/textures");
  EXPECT_EQ(copy, field);
  EXPECT_STREQ(field, "C:/textures");
  std::free(field);
  EXPECT_EQ(Import_IO_Copy_String(&field, nullptr), nullptr);
  EXPECT_EQ(field, nullptr);

  char padded[] = " \t Cube #2 \n";
  EXPECT_NE(Import_IO_Strip_Whitespace(padded), 0);
  EXPECT_STREQ(padded, "Cube #2");
  char blank[] = " \t\r\n";
  EXPECT_EQ(Import_IO_Strip_Whitespace(blank), 0);
  EXPECT_STREQ(blank, "");
}
