#include "plugin/run_option_tokens.h"

#include <cstdlib>
#include <cstring>

#include "host/import_io.h"
#include "host/kv_toolkit.h"

namespace {

struct ShortOptionToken {
  const char *token;
  int16_t ImportOptions::*field;
};

struct StringOptionToken {
  const char *token;
  char *ImportOptions::*field;
};

const ShortOptionToken kShortOptions[] = {
    {"load_textures", &ImportOptions::load_textures},
    {"textures_confirm_overwrite", &ImportOptions::textures_confirm_overwrite},
    {"display_textures", &ImportOptions::display_textures},
    {"txtr_save_dir_same", &ImportOptions::txtr_save_dir_same},
    {"txtr_ref_dir_strip", &ImportOptions::txtr_ref_dir_strip},
    {"txtr_ref_dir_specific", &ImportOptions::txtr_ref_dir_specific},
    {"import_lights", &ImportOptions::import_lights},
    {"import_cameras", &ImportOptions::import_cameras},
    {"import_materials", &ImportOptions::import_materials},
    {"flip_y_up", &ImportOptions::flip_y_up},
    {"quick_naming", &ImportOptions::quick_naming},
    {"add_camera_headlight", &ImportOptions::add_camera_headlight},
    {"print_stats", &ImportOptions::print_stats},
    {"alpha_source", &ImportOptions::alpha_source},
    {"transparency_source", &ImportOptions::transparency_source},
    {"alpha_invert", &ImportOptions::alpha_invert},
    {"lod_source", &ImportOptions::lod_source},
};

const StringOptionToken kStringOptions[] = {
    {"txtr_save_dir", &ImportOptions::txtr_save_dir},
    {"txtr_ref_dir", &ImportOptions::txtr_ref_dir},
};

// atoi's reading (blanks, sign, digits, 0 without any) without its
// undefined result on overflow; a null value reads as 0.
int32_t DecimalValue(const char *value) {
  if (!value) return 0;
  return static_cast<int32_t>(std::strtoll(value, nullptr, 10));
}

// The old string is released first; an empty value leaves the field null.
void ReplaceString(char *&field, const char *value) {
  if (field) Kv_Free_Memory(field);
  field = nullptr;
  if (value && value[0]) Import_IO_Copy_String(&field, value);
}

}  // namespace

bool ApplyRunOptionToken(ImportOptions &options, const char *token, const char *value) {
  for (const ShortOptionToken &option : kShortOptions) {
    if (std::strcmp(token, option.token) != 0) continue;
    options.*option.field = static_cast<int16_t>(DecimalValue(value));
    return true;
  }
  for (const StringOptionToken &option : kStringOptions) {
    if (std::strcmp(token, option.token) != 0) continue;
    ReplaceString(options.*option.field, value);
    return true;
  }
  if (std::strcmp(token, "nthlod") == 0) {
    options.nthlod = DecimalValue(value);
    return true;
  }
  return false;
}
