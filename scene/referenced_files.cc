#include "scene/referenced_files.h"

#include <sys/stat.h>

#include <algorithm>

namespace {

// The subfolders Coin3D's image search adds to each directory.
const char *const kImageFolders[] = {"texture", "textures", "images", "pics", "pictures"};

std::string InDirectory(std::string directory, const std::string &name) {
  if (!directory.empty() && directory.back() != '/' && directory.back() != '\\') directory += '/';
  return directory + name;
}

// What follows Coin3D's last delimiter: "/", "\\", or in a name without
// "\\" a ":", so that "D:wood.rgb" is looked up as wood.rgb, on every
// platform.
std::string LastComponent(const std::string &name) {
  const size_t slash = name.find_last_of('/');
  size_t dos = name.find_last_of('\\');
  if (dos == std::string::npos) dos = name.find_last_of(':');
  if (slash == std::string::npos && dos == std::string::npos) return name;
  const size_t last = slash == std::string::npos ? dos : dos == std::string::npos ? slash : std::max(slash, dos);
  return name.substr(last + 1);
}

// Something a blocking or endless read would meet: a FIFO, a socket or a device.
bool Blocks(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

}  // namespace

std::vector<std::string> SearchPlaces(const std::string &name, const std::vector<std::string> &directories) {
  std::vector<std::string> places = {name};
  const std::string last = LastComponent(name);
  for (const std::string &directory : directories) {
    places.push_back(InDirectory(directory, name));
    places.push_back(InDirectory(directory, last));
    for (const char *folder : kImageFolders) places.push_back(InDirectory(InDirectory(directory, folder), last));
  }
  return places;
}

std::string FindBlockingReference(std::vector<std::string> names, const std::vector<std::string> &directories) {
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  for (const std::string &name : names) {
    for (const std::string &place : SearchPlaces(name, directories)) {
      if (Blocks(place)) return "'" + name + "' leads to '" + place + "', which is not a regular file";
    }
  }
  return "";
}
