// Texture images copied beside the output, for the formats that name
// texture files (OBJ, FBX, and through assimp COLLADA): which files, and
// under which names.
#ifndef KAVREL_EXPORT_TEXTURE_COPIES_H
#define KAVREL_EXPORT_TEXTURE_COPIES_H

#include <cstdint>
#include <string>
#include <vector>

#include "kavrel/export/export_model.h"
#include "kavrel/export/staged_files.h"
#include "kavrel/host.h"

namespace kavrel {

struct TextureCopy {
  std::string source;                          // path of the texture's image
  std::string name;                            // file name beside the output, as the materials name it
};

struct TextureCopies {
  std::vector<TextureCopy> copies;             // in order of first use by the model's materials
  std::vector<int32_t> by_texture;             // by model texture: index into copies; kNone: unreadable image

  // The copy material names, or null for none.
  const TextureCopy *For(const ModelMaterial &material) const;
};

// Each texture's image file under its own file name, numbered (wood_2.rgb)
// when another texture took that name. An image the host wrote in this run
// (one extracted from the input) is named after the output as well
// (scene_texture.tif beside scene.obj): every input calls its images
// "texture.tif" and the like, and two outputs in one folder would otherwise
// replace each other's. An image that cannot be read is reported once and
// left out: its materials keep their colours.
TextureCopies PlanTextureCopies(const Host &host, const ExportModel &model, const std::string &output);

// Stages the copies beside path (unless something failed already), then
// renames every staged file into place; false with the message in *error.
// summary->bytes counts every file.
bool CommitWithTextureCopies(StagedFiles &files, const TextureCopies &textures, const std::string &path,
                             std::string *error, ExportSummary *summary);

}  // namespace kavrel

#endif
