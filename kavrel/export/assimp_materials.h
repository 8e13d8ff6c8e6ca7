// Host surfaces as assimp materials (Phong): diffuse, specular and
// luminous colours times their coefficients, opacity, shininess, the
// two-sided flag, and the first enabled texture layer as the diffuse
// texture, named by a file copied beside the output. Like the glTF export,
// a surface used by single- and double-sided meshes becomes two materials.
#ifndef KAVREL_EXPORT_ASSIMP_MATERIALS_H
#define KAVREL_EXPORT_ASSIMP_MATERIALS_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <assimp/material.h>

#include "kavrel/host.h"

namespace kavrel {

// A texture image to be copied beside the output.
struct TextureCopy {
  std::string source;                          // path of the host's texture
  std::string name;                            // file name beside the output, as the materials name it
};

class AssimpMaterials {
 public:
  // with_textures: the format names texture files (OBJ, COLLADA, FBX, X3D).
  // The host's surfaces; texture files checked through its texture files.
  AssimpMaterials(const Host &host, bool with_textures);
  ~AssimpMaterials();

  // Index of the material for scene.surfaces.items[surface] (kNone: the
  // plain white default) on meshes drawn on one side or both.
  unsigned For(int32_t surface, bool double_sided);

  // Hands the materials over (the scene takes ownership); count in *count.
  aiMaterial **Release(unsigned *count);
  const std::vector<TextureCopy> &copies() const { return copies_; }

 private:
  aiMaterial *Make(const Surface *surface, bool double_sided);
  void AddTexture(const Surface &surface, aiMaterial &material);
  const std::string *TextureNameFor(int32_t texture);

  const Host &host_;
  const Scene &scene_;
  bool with_textures_;
  std::vector<aiMaterial *> made_;
  std::vector<int> index_;                     // by 2 x (surface + 1) + double-sided; -1 until made
  std::vector<int> texture_copy_;              // by texture: index into copies_, -1 none yet, -2 unusable
  std::vector<TextureCopy> copies_;
  std::map<std::string, int> names_used_;      // file names beside the output -> copies with that stem so far
};

}  // namespace kavrel

#endif
