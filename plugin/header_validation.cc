// "validate_header": can this importer read the file?
#include <Inventor/SoInput.h>

#include "plugin/plugin.h"
#include "scene/scene.h"

namespace {
const int16_t kHeaderValid = 1;
const int16_t kHeaderUnreadable = -1;
const int16_t kHeaderUnsupported = -2;
}  // namespace

int16_t ValidateHeader_Inventor(const char *path) {
  if (!path) return kHeaderUnreadable;
  char header[kVrml2HeaderLength];
  if (!ReadFileHeader(path, header)) return kHeaderUnreadable;
  // Coin3D accepts a VRML 2.0 header, but this importer reads only
  // Inventor 2.x and VRML 1.0.
  if (IsVrml2Header(header)) return kHeaderUnsupported;
  InitCoin_Inventor();
  SoInput input;
  // FALSE: a missing file is an error here, not an empty scene.
  if (!input.openFile(path, FALSE)) return kHeaderUnreadable;
  return input.isValidFile() ? kHeaderValid : kHeaderUnsupported;
}
