// Paths, error reports, memory and storage registration.
#include <cstdlib>
#include <cstring>

#include "tests/toolkit/toolkit_fixture.h"

namespace {

TEST_F(ToolkitTest, PathsSplitOnEitherSeparator) {
  char path[] = "E:\\old\\wood.rgb", buffer[KV_MAX_PATH];
  EXPECT_STREQ(Kv_ExtractBaseFileName(path, buffer, 0), "wood.rgb");
  EXPECT_STREQ(Kv_ExtractBaseFilePath(path, buffer), "E:\\old\\");
  EXPECT_STREQ(Kv_ExtractBaseFilePath("scene.iv", buffer), "");
  EXPECT_STREQ(Kv_ExtractBaseFileName("/maps/", buffer, 0), "");
  // Drive letters mean something on Windows only: here "C:a.iv" is a file name.
  EXPECT_STREQ(Kv_ExtractBaseFileName("D:wood.rgb", buffer, 0), "D:wood.rgb");
  EXPECT_STREQ(Kv_ExtractBaseFilePath("C:a.iv", buffer), "");
  Kv_Convert_Pathname(path);
  EXPECT_STREQ(path, "E:/old/wood.rgb");
  std::string longest(3 * KV_MAX_PATH, 'x');
  EXPECT_EQ(std::strlen(Kv_ExtractBaseFileName(longest.c_str(), buffer, 0)), KV_MAX_PATH - 1u);
}

TEST_F(ToolkitTest, ErrorCodesTakeTheirArgumentsAndKeepTheirLevel) {
  Kv_Report_Error(4, "ERR_GEOM_IMPORT_BAD_TOKEN", "ImportConverter_Inventor()", "colour");
  Kv_Report_Error(4, "ERR_FILE_OPEN_READ", "ImportConverter_Inventor()", "Inventor", "/a.iv");
  Kv_Report_Error(4, "OUTERR_FILE_OPEN_WRITE", "SaveImportConvertOptions_Inventor()", "Inventor .INI", "/x.ini");
  Kv_Report_Error(2, "ERR_SOMETHING_NEW", "F()");
  std::string text(5000, 'y');
  Kv_Report_Error_printf(1, "%s%d", text.c_str(), 7);
  ASSERT_EQ(errors.size(), 5u);
  EXPECT_EQ(errors[0], "level 4: ImportConverter_Inventor(): unknown option token \"colour\"");
  EXPECT_EQ(errors[1], "level 4: ImportConverter_Inventor(): cannot open the Inventor file \"/a.iv\" for reading");
  EXPECT_EQ(errors[2],
            "level 4: SaveImportConvertOptions_Inventor(): cannot open the Inventor .INI file \"/x.ini\" for writing");
  EXPECT_EQ(errors[3], "level 2: F(): error ERR_SOMETHING_NEW");
  EXPECT_EQ(errors[4], "level 1: " + text + "7");
  EXPECT_EQ(Last("Kv_Report_Error"), "Kv_Report_Error(<2> \"ERR_SOMETHING_NEW\" \"F()\")");
}

TEST_F(ToolkitTest, MemoryAndStorageCallsAreJournaled) {
  Kv_Free_Memory(std::malloc(16));
  Kv_Free_Memory(nullptr);
  Kv_RegisterClassStorage(0xFFB6FFA9u, 0, 0);
  Kv_RegisterClassStorageAux(1);
  EXPECT_EQ(host_.journal().calls("Kv_Free_Memory").size(), 2u);
  EXPECT_EQ(Last("Kv_RegisterClassStorage"), "Kv_RegisterClassStorage(<4290183081 0 0>)");
  EXPECT_EQ(Last("Kv_RegisterClassStorageAux"), "Kv_RegisterClassStorageAux(<1>)");
  EXPECT_TRUE(errors.empty());
}

}  // namespace
