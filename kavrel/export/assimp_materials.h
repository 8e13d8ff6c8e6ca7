// The export model's materials as assimp materials (Phong): diffuse,
// specular and luminous colours, opacity, shininess, the two-sided flag,
// and for formats that name texture files, the texture's copy as the
// diffuse texture. Materials are named by their distinct names, since
// some formats find materials by name.
#ifndef KAVREL_EXPORT_ASSIMP_MATERIALS_H
#define KAVREL_EXPORT_ASSIMP_MATERIALS_H

#include <assimp/material.h>

#include "kavrel/export/export_model.h"
#include "kavrel/export/texture_copies.h"

namespace kavrel {

// One material per model material, in order (the scene takes ownership);
// textures null for a format without texture files.
aiMaterial **MakeAssimpMaterials(const ExportModel &model, const TextureCopies *textures, unsigned *count);

}  // namespace kavrel

#endif
