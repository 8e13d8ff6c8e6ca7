#include "tools/fidelity/png_file.h"

#include <cerrno>
#include <cstring>

// Both stb halves are compiled into this file only, with internal linkage.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace kavrel::fidelity {

bool ReadPng(const std::string &path, RgbImage *image, std::string *error) {
  int width = 0, height = 0, components = 0;
  stbi_uc *data = stbi_load(path.c_str(), &width, &height, &components, 3);
  if (!data) {
    *error = path + ": " + stbi_failure_reason();
    return false;
  }
  image->width = width;
  image->height = height;
  image->pixels.assign(data, data + size_t(width) * height * 3);
  stbi_image_free(data);
  return true;
}

bool WritePng(const std::string &path, const RgbImage &image, std::string *error) {
  errno = 0;
  if (stbi_write_png(path.c_str(), image.width, image.height, 3, image.pixels.data(), image.width * 3)) return true;
  *error = path + ": cannot write" + (errno ? std::string(": ") + std::strerror(errno) : std::string());
  return false;
}

}  // namespace kavrel::fidelity
