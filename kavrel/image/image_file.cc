// Texture image files: the type from the first bytes, the pixels through
// the platform's image decoder (TIFFs through libtiff).
#include "kavrel/image/image_file.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "kavrel/image/image_decoder.h"
#include "kavrel/image/tiff_reader.h"

namespace kavrel {
namespace {

bool StartsWith(const unsigned char *bytes, size_t size, const char *magic, size_t magic_size) {
  return size >= magic_size && std::memcmp(bytes, magic, magic_size) == 0;
}

// TGA has no signature: accept a header whose colour-map and image-type
// bytes hold values the format defines, and whose pixel depth is usual.
bool LooksLikeTga(const unsigned char *h, size_t size) {
  if (size < 18) return false;
  bool colour_map_ok = h[1] == 0 || h[1] == 1;
  bool type_ok = h[2] == 1 || h[2] == 2 || h[2] == 3 || h[2] == 9 || h[2] == 10 || h[2] == 11;
  bool depth_ok = h[16] == 8 || h[16] == 15 || h[16] == 16 || h[16] == 24 || h[16] == 32;
  bool size_ok = (h[12] | h[13]) != 0 && (h[14] | h[15]) != 0;
  return colour_map_ok && type_ok && depth_ok && size_ok;
}

ImageFileType TypeOfHeader(const unsigned char *h, size_t size) {
  if (StartsWith(h, size, "\x01\xda", 2)) return kImageSgi;
  if (StartsWith(h, size, "\x89PNG\r\n\x1a\n", 8)) return kImagePng;
  if (StartsWith(h, size, "\xff\xd8\xff", 3)) return kImageJpeg;
  if (StartsWith(h, size, "II*\0", 4) || StartsWith(h, size, "MM\0*", 4)) return kImageTiff;
  if (StartsWith(h, size, "GIF87a", 6) || StartsWith(h, size, "GIF89a", 6)) return kImageGif;
  if (StartsWith(h, size, "BM", 2)) return kImageBmp;
  if (LooksLikeTga(h, size)) return kImageTga;
  return kImageUnknown;
}

}  // namespace

// Existence is asked of the directory, not by opening: opening a FIFO blocks.
std::string TextureFiles::Resolve(const std::string &path) const {
  if (path.empty() || path[0] == '/' || search_directory_.empty()) return path;
  if (access(path.c_str(), F_OK) == 0) return path;
  return search_directory_ + path;
}

// Every open of an image goes through here first.
bool TextureFiles::MayOpen(const std::string &path, std::string *error) const {
  std::string reason;
  if (Readable(path, &reason)) return true;
  *error = "cannot read image \"" + path + "\": " + reason;
  return false;
}

ImageFileType TextureFiles::Sniff(const std::string &given) const {
  const std::string path = Resolve(given);
  std::string refused;
  if (!MayOpen(path, &refused)) return kImageUnknown;
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (!file) return kImageUnknown;
  unsigned char header[18];
  size_t size = std::fread(header, 1, sizeof header, file);
  std::fclose(file);
  return TypeOfHeader(header, size);
}

bool TextureFiles::ReadHeader(const std::string &given, ImagePixels *header, std::string *error) const {
  const std::string path = Resolve(given);
  if (!MayOpen(path, error)) return false;
  if (Sniff(path) == kImageTiff) return ReadTiffHeader(path, header, error);
  return DecodeImageHeader(path, header, error);
}

bool TextureFiles::Read(const std::string &given, ImagePixels *image, std::string *error) const {
  const std::string path = Resolve(given);
  if (!MayOpen(path, error)) return false;
  if (Sniff(path) == kImageTiff) return ReadTiffImage(path, image, error);
  return DecodeImage(path, image, error);
}

}  // namespace kavrel
