#include "scene/scene.h"

#include <cstdio>
#include <cstring>

bool ReadFileHeader(const char *path, char header[kVrml2HeaderLength]) {
  FILE *file = std::fopen(path, "r");
  if (!file) return false;
  for (int i = 0; i < kVrml2HeaderLength; ++i) header[i] = static_cast<char>(std::fgetc(file));
  std::fclose(file);
  return true;
}

bool IsVrml2Header(const char header[kVrml2HeaderLength]) {
  return std::strncmp(header, "#VRML V2.0 utf8", kVrml2HeaderLength) == 0;
}
