// Reading the texture image files that Inventor scenes reference (SGI,
// PNG, JPEG, TIFF, GIF, TGA and what else the image library reads).
#ifndef KAVREL_IMAGE_IMAGE_FILE_H
#define KAVREL_IMAGE_IMAGE_FILE_H

#include <cstdint>
#include <string>
#include <vector>

#include "kavrel/image/texture_access.h"

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

// The texture image files of one conversion. Inventor files name their
// textures relative to themselves: a relative path that does not exist
// from the current directory is looked up in the directory of the file
// being imported. Only files that the texture roots allow are opened.
class TextureFiles {
 public:
  // roots is read at every open, so it must outlive this.
  explicit TextureFiles(const TextureRoots &roots) : roots_(roots) {}

  // The directory of the file being imported (ending with a separator),
  // or "" for none.
  void set_search_directory(std::string directory) { search_directory_ = std::move(directory); }

  // True when path (as given, not looked up) may be opened; otherwise
  // false with the reason.
  bool Readable(const std::string &path, std::string *reason) const {
    return TextureFileReadable(roots_, path, reason);
  }

  // Type of the file from its first bytes; kImageUnknown when it is missing or not an image.
  ImageFileType Sniff(const std::string &path) const;

  // Width, height and components of the image (bytes stays empty), reading
  // no more of the file than the image library needs; false with a message
  // when it cannot.
  bool ReadHeader(const std::string &path, ImagePixels *header, std::string *error) const;

  // Reads the whole image; false with a message when it cannot.
  bool Read(const std::string &path, ImagePixels *image, std::string *error) const;

 private:
  std::string Resolve(const std::string &path) const;
  bool MayOpen(const std::string &path, std::string *error) const;

  const TextureRoots &roots_;
  std::string search_directory_;
};

}  // namespace kavrel

#endif
