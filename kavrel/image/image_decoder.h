// Decoding of texture images other than TIFF (libtiff reads those): simage
// where Debian provides it, stb_image in the Windows host (which reads
// PNG, JPEG, GIF, TGA and BMP, but not SGI images).
#ifndef KAVREL_IMAGE_IMAGE_DECODER_H
#define KAVREL_IMAGE_IMAGE_DECODER_H

#include <string>

#include "kavrel/image/image_file.h"

namespace kavrel {

// Width, height and components; bytes stays empty. False with a message.
bool DecodeImageHeader(const std::string &path, ImagePixels *header, std::string *error);

// The whole image, first row at the top. False with a message.
bool DecodeImage(const std::string &path, ImagePixels *image, std::string *error);

}  // namespace kavrel

#endif
