// Where the file name of a path starts. Inventor files written on Windows
// name textures with backslashes, so both separators count on every
// platform. On Windows a drive letter with its colon ("D:wood.rgb") ends
// the directory part too: it names the current directory of that drive.
#ifndef COMMON_FILE_NAME_START_H
#define COMMON_FILE_NAME_START_H

#include <cstddef>
#include <string_view>

namespace common {

#ifdef _WIN32
constexpr bool kPathsHaveDrives = true;
#else
constexpr bool kPathsHaveDrives = false;  // "C:a.iv" is a file name like any other
#endif

// The offset just past the last separator, or past a leading drive on
// Windows; 0 when the path is a bare file name.
inline size_t FileNameStart(std::string_view path) {
  const size_t separator = path.find_last_of("/\\");
  if (separator != std::string_view::npos) return separator + 1;
  const bool drive = path.size() >= 2 && path[1] == ':' &&
                     ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return kPathsHaveDrives && drive ? 2 : 0;
}

}  // namespace common

#endif
