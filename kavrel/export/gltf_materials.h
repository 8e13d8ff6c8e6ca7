// The export model's materials as glTF metallic-roughness materials, with
// their textures as base-colour textures. The mapping (also in README.md):
//   baseColorFactor  = diffuse colour x diffuse coefficient, clamped to 0..1;
//                      alpha = face opacity, alphaMode BLEND when below 1
//   baseColorTexture = the first enabled texture layer whose image reads;
//                      BLEND too when the layer lets the texture's alpha
//                      drive the opacity and the image keeps an alpha channel
//   emissiveFactor   = luminous colour x luminous coefficient, clamped
//   roughnessFactor  = sqrt(2 / (n + 2)) for the Phong shininess n (the
//                      Beckmann slope that gives a Phong lobe of exponent n)
//   metallicFactor   = 0 (the host's surfaces are dielectric)
// The channel switches ("enabled" of the specular, luminous and ambient
// colours) only say which inputs the host's renderer reads; the colours are
// mapped from their values. Specular colour, ambient colour and shading
// model have no glTF core counterpart and are not written.
#ifndef KAVREL_EXPORT_GLTF_MATERIALS_H
#define KAVREL_EXPORT_GLTF_MATERIALS_H

#include <cstdint>
#include <vector>

#include "kavrel/export/export_model.h"
#include "kavrel/export/gltf_document.h"
#include "kavrel/host.h"

namespace kavrel {

class GltfMaterials {
 public:
  // Texture images are read through the host's texture files.
  GltfMaterials(const Host &host, const ExportModel &model, GltfDocument &doc);

  // The glTF material of model.materials[material], written on first use.
  int For(int32_t material);

 private:
  struct TextureSlot {
    bool visited = false;
    int index = -1;                            // glTF texture, -1 when the image could not be used
    bool has_alpha = false;
  };

  void WriteMaterial(const ModelMaterial &material, int *index);
  const TextureSlot &TextureFor(const ModelMaterial &material);
  void WriteTexture(const Texture &texture, int image, int *index);
  int SamplerFor(const Texture &texture);

  const Host &host_;
  const ExportModel &model_;
  GltfDocument &doc_;
  std::vector<int> materials_;                 // by model material, -1 until made
  std::vector<TextureSlot> textures_;          // by model texture
  int samplers_[2][2][2];                      // by wrap u, wrap v, mipmap; -1 until made
};

}  // namespace kavrel

#endif
