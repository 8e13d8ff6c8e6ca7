// Host surfaces as glTF metallic-roughness materials, with their texture
// links as base-colour textures. The mapping (also in README.md):
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

#include "kavrel/export/gltf_document.h"
#include "kavrel/host.h"

namespace kavrel {

class GltfMaterials {
 public:
  // The host's surfaces, its textures read through its texture files.
  GltfMaterials(const Host &host, GltfDocument &doc);

  // The material of scene.surfaces.items[surface] for meshes drawn on one
  // side or on both, made on first use, so that a surface maps to at most
  // two materials, "doubleSided" being their one difference.
  int ForSurface(int32_t surface, bool double_sided);
  // A plain white material for shapes that have vertex colours and no surface.
  int Default(bool double_sided);

 private:
  struct TextureSlot {
    bool visited = false;
    int index = -1;                            // glTF texture, -1 when the image could not be used
    bool has_alpha = false;
  };

  void WriteMaterial(const Surface &surface, bool double_sided, int *index);
  const TextureLayer *TextureLayerOf(const Surface &surface) const;
  const TextureSlot &TextureFor(int32_t texture, const Surface &surface);
  int SamplerFor(const Texture &texture);

  const Host &host_;
  const Scene &scene_;
  GltfDocument &doc_;
  std::vector<int> surface_material_;          // by 2 x surface index + double-sided, -1 until made
  std::vector<TextureSlot> textures_;          // by texture index
  int samplers_[2][2][2];                      // by wrap u, wrap v, mipmap; -1 until made
  int default_[2] = {-1, -1};                  // single-sided, double-sided; -1 until made
};

}  // namespace kavrel

#endif
