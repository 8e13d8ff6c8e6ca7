// Which texture image files the host may open: regular files only (a FIFO
// would block the open, a device never ends), and, when texture roots are
// set, only files inside them or made by this run.
#ifndef KAVREL_IMAGE_TEXTURE_ACCESS_H
#define KAVREL_IMAGE_TEXTURE_ACCESS_H

#include <string>

namespace kavrel {

// True when path may be opened; otherwise false with the reason in *reason.
// Looks at the file without opening it.
bool TextureFileReadable(const std::string &path, std::string *reason);

}  // namespace kavrel

#endif
