// Where texture files are looked for and where extracted images are written.
#ifndef MATERIALS_TEXTURE_PATHS_H
#define MATERIALS_TEXTURE_PATHS_H

#include <Inventor/SbString.h>

// The path under which a texture file named in the Inventor file is
// referenced: its directory replaced by txtr_ref_dir (txtr_ref_dir_specific),
// or stripped (txtr_ref_dir_strip), or kept as written.
SbString ReferencedTexturePath(const SbString &texture_file);

// The path of the TIFF file extracted for a texture: txtr_save_dir when it
// is chosen, else the directory of the file being converted.
SbString ExtractedTexturePath(const SbString &texture);

// "Texture image file '<path>' type not supported or not found." with an
// overlong path shortened from the front, so the file name stays readable.
SbString MissingTextureMessage(const SbString &path);

#endif
