// Reading the texture image files that Inventor scenes reference (SGI,
// PNG, JPEG, TIFF, GIF, TGA and what else the image library reads).
#ifndef KAVREL_IMAGE_IMAGE_FILE_H
#define KAVREL_IMAGE_IMAGE_FILE_H

#include <cstdint>
#include <string>
#include <vector>

namespace kavrel {

struct ImagePixels {
  int width = 0;
  int height = 0;
  int components = 0;                          // 1 grey, 2 grey+alpha, 3 rgb, 4 rgba
  std::vector<uint8_t> bytes;                  // interleaved, first row at the top
};

// File type values answered by Kv_Determine_Image_File_Type.
enum ImageFileType : int32_t {
  kImageUnknown = 0, kImageSgi = 1, kImagePng = 2, kImageJpeg = 3, kImageTiff = 4, kImageGif = 5,
  kImageTga = 6, kImageBmp = 7, kImageOther = 8
};

// Directory (ending with a separator, or "") in which relative image paths
// that do not exist from the current directory are looked up: the
// directory of the file being imported.
void SetImageSearchDirectory(const std::string &directory);

// Type of the file from its first bytes; kImageUnknown when it is missing or not an image.
ImageFileType SniffImageFileType(const std::string &path);

// Width, height and components of the image (bytes stays empty), reading
// no more of the file than the image library needs; false with a message
// when it cannot.
bool ReadImageHeader(const std::string &path, ImagePixels *header, std::string *error);

// Reads the whole image; false with a message when it cannot.
bool ReadImageFile(const std::string &path, ImagePixels *image, std::string *error);

}  // namespace kavrel

#endif
