// The one spelling of a path that names a file: what texture roots and the
// textures inside them are compared in.
#ifndef KAVREL_IMAGE_CANONICAL_PATH_H
#define KAVREL_IMAGE_CANONICAL_PATH_H

#include <string>

namespace kavrel {

// The absolute path with every symbolic link, "." and ".." resolved and
// '/' between its parts (on Windows with the drive and the case of every
// part as the file system keeps them); "" when nothing is there.
std::string CanonicalPath(const std::string &path);

}  // namespace kavrel

#endif
