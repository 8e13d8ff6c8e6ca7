#include "kavrel/image/image_decoder.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_HDR
#define STBI_NO_PIC
#define STBI_NO_PNM
#define STBI_NO_PSD
#include <stb_image.h>

#include <cstring>

namespace kavrel {

namespace {

std::string LastError(const std::string &path) {
  const char *reason = stbi_failure_reason();
  return "cannot read image \"" + path + "\"" + (reason && *reason ? std::string(": ") + reason : "");
}

}  // namespace

bool DecodeImageHeader(const std::string &path, ImagePixels *header, std::string *error) {
  int width = 0, height = 0, components = 0;
  if (!stbi_info(path.c_str(), &width, &height, &components)) {
    *error = LastError(path);
    return false;
  }
  header->width = width;
  header->height = height;
  header->components = components;
  header->bytes.clear();
  return true;
}

bool DecodeImage(const std::string &path, ImagePixels *image, std::string *error) {
  int width = 0, height = 0, components = 0;
  unsigned char *pixels = stbi_load(path.c_str(), &width, &height, &components, 0);
  if (!pixels) {
    *error = LastError(path);
    return false;
  }
  image->width = width;
  image->height = height;
  image->components = components;
  image->bytes.assign(pixels, pixels + static_cast<size_t>(width) * height * components);
  stbi_image_free(pixels);
  return true;
}

}  // namespace kavrel
