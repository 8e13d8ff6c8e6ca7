// Reading TIFF texture files through libtiff: the general image library
// reports a grey+alpha TIFF as one component (and hands its two samples per
// pixel over as if they were one), so TIFFs take this way instead.
#ifndef KAVREL_IMAGE_TIFF_READER_H
#define KAVREL_IMAGE_TIFF_READER_H

#include <string>

#include "kavrel/image/image_file.h"

namespace kavrel {

// Width, height and components (samples per pixel, 1 to 4); bytes stays empty.
bool ReadTiffHeader(const std::string &path, ImagePixels *header, std::string *error);

// The first image of the file in 8 bits per sample, first row at the top,
// with as many components as ReadTiffHeader answers.
bool ReadTiffImage(const std::string &path, ImagePixels *image, std::string *error);

}  // namespace kavrel

#endif
