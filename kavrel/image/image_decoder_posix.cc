#include "kavrel/image/image_decoder.h"

#include <simage.h>

#include <cstring>

namespace kavrel {

namespace {

std::string LastError(const std::string &path) {
  const char *message = simage_get_last_error();
  return "cannot read image \"" + path + "\"" + (message && *message ? std::string(": ") + message : "");
}

}  // namespace

bool DecodeImageHeader(const std::string &path, ImagePixels *header, std::string *error) {
  s_image *image = s_image_open(path.c_str(), 1);
  if (!image) {
    *error = LastError(path);
    return false;
  }
  header->width = s_image_width(image);
  header->height = s_image_height(image);
  header->components = s_image_components(image);
  header->bytes.clear();
  s_image_destroy(image);
  return true;
}

bool DecodeImage(const std::string &path, ImagePixels *image, std::string *error) {
  int width = 0, height = 0, components = 0;
  unsigned char *pixels = simage_read_image(path.c_str(), &width, &height, &components);
  if (!pixels) {
    *error = LastError(path);
    return false;
  }
  // simage delivers the bottom row first, as OpenGL wants it.
  size_t row = static_cast<size_t>(width) * components;
  image->width = width;
  image->height = height;
  image->components = components;
  image->bytes.resize(row * height);
  for (int y = 0; y < height; ++y) {
    std::memcpy(&image->bytes[row * y], pixels + row * (height - 1 - y), row);
  }
  simage_free_image(pixels);
  return true;
}

}  // namespace kavrel
