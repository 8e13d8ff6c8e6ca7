// Images saved through output drivers the way an importer extracts an
// embedded texture, read back with libtiff.
#include <tiffio.h>

#include <fstream>

#include "tests/toolkit/toolkit_fixture.h"

namespace {

const char kDriver[] = "tiff out";

void CreateTiffDriver(const std::string &path, const char *mode) {
  kv_list(Kv_Output_Driver, kDriver, tok("file"), tok("tiff"), kGroup, tok("filename"), path.c_str(), kGroup,
          tok("mode"), tok(mode), kGroup);
}

int32_t Save(Kv_ImageRecord &record, const char *operation) {
  int32_t status = -1;
  kv_list(Kv_Image_Save, &record, &status, tok(operation));
  return status;
}

// Pixel (x, y) of channel c in the test pattern.
uint8_t Pattern(int x, int y, int c) { return static_cast<uint8_t>(x * 40 + y * 7 + c * 60); }

// Sends rows [0, rows) of a width x height image; answers the first bad status.
int32_t SendImage(Kv_ImageRecord &record, int rows) {
  if (int32_t status = Save(record, "writeheader")) return status;
  for (int y = 0; y < rows; ++y) {
    for (int c = 0; c < record.channels; ++c) {
      for (int x = 0; x < record.width; ++x) record.planes[c][x] = Pattern(x, y, c);
    }
    if (int32_t status = Save(record, "writescanline")) return status;
  }
  return 0;
}

Kv_ImageRecord Record(int width, int height, int channels) {
  Kv_ImageRecord record{};
  record.width = static_cast<uint16_t>(width);
  record.height = static_cast<uint16_t>(height);
  record.channels = static_cast<uint16_t>(channels);
  record.rows_per_strip = 1;
  return record;
}

// Rows arrive bottom row first (Inventor's order) and the file starts at the top.
TEST_F(ToolkitTest, TiffDriversWriteEveryPixelOfEveryModeTopRowFirst) {
  ScratchDir dir;
  struct Mode {
    const char *word;
    int samples;
  };
  for (Mode mode : {Mode{"a", 1}, Mode{"rgb", 3}, Mode{"rgba", 4}}) {
    std::string path = dir.path(std::string(mode.word) + ".tif");
    CreateTiffDriver(path, mode.word);
    Kv_ImageRecord record = Record(3, 2, mode.samples);
    ASSERT_EQ(SendImage(record, 2), 0);
    ASSERT_EQ(Save(record, "close"), 0);
    kv_list(Kv_Remove, tok("outputdriver"), kDriver);

    TIFF *tiff = TIFFOpen(path.c_str(), "r");
    ASSERT_NE(tiff, nullptr) << path;
    uint32_t width = 0, height = 0;
    uint16_t samples = 0, extra_count = 0, *extra = nullptr;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetField(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    EXPECT_EQ(width, 3u);
    EXPECT_EQ(height, 2u);
    EXPECT_EQ(samples, mode.samples);
    if (mode.samples == 4) {
      ASSERT_TRUE(TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extra_count, &extra));
      EXPECT_EQ(extra[0], EXTRASAMPLE_UNASSALPHA);
    }
    std::vector<uint8_t> row(TIFFScanlineSize(tiff));
    for (uint32_t y = 0; y < height; ++y) {
      TIFFReadScanline(tiff, row.data(), y, 0);
      for (int x = 0; x < 3; ++x) {
        for (int c = 0; c < mode.samples; ++c) EXPECT_EQ(row[x * mode.samples + c], Pattern(x, height - 1 - y, c));
      }
    }
    TIFFClose(tiff);
  }
  EXPECT_EQ(dir.files().size(), 3u);
  EXPECT_TRUE(errors.empty());
}

TEST_F(ToolkitTest, AnUnfinishedImageLeavesNoFileBehind) {
  ScratchDir dir;
  std::string path = dir.path("texture.tif");
  CreateTiffDriver(path, "rgb");
  Kv_ImageRecord record = Record(4, 3, 3);
  ASSERT_EQ(SendImage(record, 1), 0);
  kv_list(Kv_Remove, tok("outputdriver"), kDriver);
  EXPECT_TRUE(dir.files().empty());

  CreateTiffDriver(path, "rgb");
  ASSERT_EQ(SendImage(record, 2), 0);
  EXPECT_EQ(Save(record, "close"), 1);  // a row short
  EXPECT_TRUE(dir.files().empty());
  EXPECT_EQ(record.planes[0], nullptr);
}

TEST_F(ToolkitTest, OverwritesFollowTheOptionAndTheConfirmer) {
  ScratchDir dir;
  std::string path = dir.path("texture.tif");
  std::ofstream(path) << "precious";
  std::vector<std::string> asked;
  host_.settings().confirm_overwrite = [&asked](const std::string &file) {
    asked.push_back(file);
    return false;
  };
  CreateTiffDriver(path, "a");
  Kv_ImageRecord record = Record(2, 2, 1);
  EXPECT_EQ(Save(record, "writeheader"), 1);
  EXPECT_EQ(asked, std::vector<std::string>{path});
  EXPECT_EQ(dir.files().size(), 1u);

  kv_list(Kv_Option, tok("confirm"), tok("overwrites"), tok("enabled"), tok("off"));
  ASSERT_EQ(SendImage(record, 2), 0);
  EXPECT_EQ(Save(record, "close"), 0);
  EXPECT_EQ(asked.size(), 1u);
  std::ifstream written(path);
  EXPECT_NE(std::string(std::istreambuf_iterator<char>(written), {}), "precious");
}

TEST_F(ToolkitTest, HeadersFailWhenNoFileCanBeMadeAndTheDisplayTakesEverything) {
  ScratchDir dir;
  CreateTiffDriver(dir.path("no such dir/texture.tif"), "rgb");
  Kv_ImageRecord record = Record(2, 1, 3);
  EXPECT_EQ(Save(record, "writeheader"), 1);

  kv_list(Kv_Output_Driver, kDriver, tok("enabled"), tok("off"));
  EXPECT_EQ(Save(record, "writeheader"), 1);  // no driver enabled at all
  kv_list(Kv_Output_Driver, "driver1", tok("enabled"), tok("on"));
  EXPECT_EQ(SendImage(record, 1), 0);
  EXPECT_EQ(Save(record, "close"), 0);
  EXPECT_TRUE(dir.files().empty());
}

}  // namespace
