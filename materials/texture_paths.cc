// Directory rules for referenced and extracted texture files. No separator
// is ever inserted: the chosen directories carry their own.
#include "materials/texture_paths.h"

#include "host/kv_toolkit.h"
#include "state/state.h"

namespace {

SbString FileNamePart(const SbString &path) {
  char buffer[KV_MAX_PATH] = "";
  Kv_ExtractBaseFileName(path.getString(), buffer, 0);
  return SbString(buffer);
}

SbString DirectoryPart(const SbString &path) {
  char buffer[KV_MAX_PATH] = "";
  Kv_ExtractBaseFilePath(path.getString(), buffer);
  return SbString(buffer);
}

}  // namespace

SbString ReferencedTexturePath(const SbString &texture_file) {
  const ImportOptions &options = plugin.state->options;
  if (options.txtr_ref_dir != nullptr && options.txtr_ref_dir_specific != 0) {
    return SbString(options.txtr_ref_dir) + FileNamePart(texture_file);
  }
  if (options.txtr_ref_dir_strip != 0) return FileNamePart(texture_file);
  return texture_file;
}

SbString ExtractedTexturePath(const SbString &texture) {
  const ImportOptions &options = plugin.state->options;
  const SbString file = texture + ".tif";
  if (options.txtr_save_dir_same == 0 && options.txtr_save_dir != nullptr) {
    return SbString(options.txtr_save_dir) + FileNamePart(file);
  }
  return DirectoryPart(plugin.state->file_name) + file;
}

SbString MissingTextureMessage(const SbString &path) {
  // The message fits the 400 bytes of the host's report line, NUL included.
  static const char kBefore[] = "Texture image file '";
  static const char kAfter[] = "' type not supported or not found.";
  const int room = 400 - 1 - static_cast<int>(sizeof kBefore - 1 + sizeof kAfter - 1);
  const int length = path.getLength();
  const SbString shown = length <= room ? path : "..." + path.getSubString(length - (room - 3));
  return kBefore + shown + kAfter;
}
