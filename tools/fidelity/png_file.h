// PNG files in and out of RgbImage (stb_image and stb_image_write).
#ifndef KAVREL_TOOLS_FIDELITY_PNG_FILE_H
#define KAVREL_TOOLS_FIDELITY_PNG_FILE_H

#include <string>

#include "tools/fidelity/rgb_image.h"

namespace kavrel::fidelity {

// False with a message when the file cannot be read or is not an image;
// an alpha channel is dropped.
bool ReadPng(const std::string &path, RgbImage *image, std::string *error);

// False with a message when the file cannot be written.
bool WritePng(const std::string &path, const RgbImage &image, std::string *error);

}  // namespace kavrel::fidelity

#endif
