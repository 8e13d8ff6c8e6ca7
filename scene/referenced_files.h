// Coin3D opens the files a scene names (texture and image files, included
// files) while it reads the scene, with a plain fopen on each place it
// searches: a FIFO there blocks the read for good, a device can feed it
// without end. The places it would try are checked first, without opening
// anything.
#ifndef SCENE_REFERENCED_FILES_H
#define SCENE_REFERENCED_FILES_H

#include <string>
#include <vector>

// Every place Coin3D's searches would try for name, in its order: the name
// itself, then in each directory the name, its last component, and that
// component in the directory's texture subfolders.
std::vector<std::string> SearchPlaces(const std::string &name, const std::vector<std::string> &directories);

// "" when no place of any name holds anything but a regular file or a
// directory, else what is wrong. directories: the input's own directory
// first, then Coin3D's search list.
std::string FindBlockingReference(std::vector<std::string> names, const std::vector<std::string> &directories);

#endif
