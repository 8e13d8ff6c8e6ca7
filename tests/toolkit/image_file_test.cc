// Texture images made here, probed and read back through the toolkit.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#include <tiffio.h>

#include <fstream>

#include "kavrel/image/image_file.h"
#include "tests/toolkit/toolkit_fixture.h"

namespace {

// Grey (1 sample) or grey+alpha (2); sample s of pixel (x, y) is 40 y + 7 x + 100 s.
std::vector<uint8_t> WriteGreyTiff(const std::string &path, int width, int height, int samples) {
  TIFF *tiff = TIFFOpen(path.c_str(), "w");
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  if (samples == 2) {
    uint16_t extra = EXTRASAMPLE_UNASSALPHA;
    TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &extra);
  }
  std::vector<uint8_t> pixels;
  for (int y = 0; y < height; ++y) {
    std::vector<uint8_t> row;
    for (int x = 0; x < width; ++x)
      for (int s = 0; s < samples; ++s) row.push_back(static_cast<uint8_t>(40 * y + 7 * x + 100 * s));
    TIFFWriteScanline(tiff, row.data(), y, 0);
    pixels.insert(pixels.end(), row.begin(), row.end());
  }
  TIFFClose(tiff);
  return pixels;
}

Kv_ImageInfo InquireImage(const char *texture) {
  Kv_ImageInfo info{};
  intptr_t unused = 0;
  kv_list(Kv_Inquire_Texture, texture, &unused, tok("imageinfo"), &info, tok("headeronly"));
  return info;
}

TEST_F(ToolkitTest, ImageFilesAreTypedAndTheirHeadersRead) {
  ScratchDir dir;
  const uint8_t rgba[3 * 2 * 4] = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0,
                                   9, 9, 9, 255, 8, 8, 8, 255, 7, 7, 7, 255};
  std::string png = dir.path("alpha.png"), tif = dir.path("grey.tif"), text = dir.path("notes.txt");
  ASSERT_TRUE(stbi_write_png(png.c_str(), 3, 2, 4, rgba, 3 * 4));
  WriteGreyTiff(tif, 5, 4, 1);
  std::ofstream(text) << "not an image\n";

  int32_t type = -1;
  EXPECT_EQ(Kv_Determine_Image_File_Type(png.c_str(), &type), 0);
  EXPECT_EQ(type, kavrel::kImagePng);
  kv_list(Kv_Texture, "png", tok("image"), tok("textureimage"), intptr_t{type}, png.c_str(), kGroup);
  EXPECT_EQ(Kv_Determine_Image_File_Type(tif.c_str(), &type), 0);
  EXPECT_EQ(type, kavrel::kImageTiff);
  kv_list(Kv_Texture, "tif", tok("image"), tok("textureimage"), intptr_t{type}, tif.c_str(), kGroup);
  EXPECT_EQ(Kv_Determine_Image_File_Type(text.c_str(), &type), 1);
  EXPECT_EQ(Kv_Determine_Image_File_Type(dir.path("missing.rgb").c_str(), &type), 1);
  EXPECT_EQ(type, 0);

  Kv_ImageInfo info = InquireImage("png");
  EXPECT_EQ(info.width, 3);
  EXPECT_EQ(info.height, 2);
  EXPECT_EQ(info.components, 4);
  EXPECT_EQ(info.file_type, kavrel::kImagePng);
  EXPECT_EQ(InquireImage("tif").components, 1);
  EXPECT_EQ(Last("Kv_Inquire_Texture"), "Kv_Inquire_Texture(\"tif\" * imageinfo * headeronly .)");

  kavrel::ImagePixels pixels;
  std::string error;
  ASSERT_TRUE(host_.texture_files().Read(png, &pixels, &error)) << error;
  EXPECT_EQ(std::vector<uint8_t>(pixels.bytes.begin(), pixels.bytes.begin() + 4),
            (std::vector<uint8_t>{255, 0, 0, 255}));  // the top row comes first
  EXPECT_FALSE(host_.texture_files().Read(text, &pixels, &error));
  EXPECT_TRUE(errors.empty());
}

TEST_F(ToolkitTest, GreyAlphaTiffKeepsItsTwoComponents) {
  // Its alpha decides a face's opacity, so a grey+alpha TIFF must not read as grey.
  ScratchDir dir;
  const std::string tif = dir.path("grey_alpha.tif");
  const std::vector<uint8_t> written = WriteGreyTiff(tif, 3, 2, 2);
  kv_list(Kv_Texture, "ga", tok("image"), tok("textureimage"), intptr_t{kavrel::kImageTiff}, tif.c_str(), kGroup);
  EXPECT_EQ(InquireImage("ga").components, 2);
  kavrel::ImagePixels pixels;
  std::string error;
  ASSERT_TRUE(host_.texture_files().Read(tif, &pixels, &error)) << error;
  EXPECT_EQ(pixels.components, 2);
  EXPECT_EQ(pixels.bytes, written);
  EXPECT_FALSE(host_.texture_files().Read(dir.path("missing.tif"), &pixels, &error));
}

}  // namespace
