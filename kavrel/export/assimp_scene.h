// The export model as an assimp scene, for assimp's exporters: a root node
// "world" whose children are world's children, every placement a node with
// its name and local matrix (hidden ones too: these formats have no such
// flag), then one root child per light and per camera. Each object gets
// its own meshes, named after it (even where objects share a model mesh):
// one per triangle group, and for the group drawn with the instance's
// surface one per distinct material of the placements; with lines, the
// line groups the same way, as meshes of two-index faces (positions only;
// COLLADA writes them as <lines>). Points are left out. Texture v runs
// upwards. For writers that assimp takes into world space itself (PLY,
// STL), which moves the corners but keeps their order, mirrored_copies
// gives mirroring placements copies of their meshes with the faces
// reversed, so that fronts stay outside.
#ifndef KAVREL_EXPORT_ASSIMP_SCENE_H
#define KAVREL_EXPORT_ASSIMP_SCENE_H

#include <cstddef>
#include <memory>
#include <vector>

#include <assimp/scene.h>

#include "kavrel/export/export_model.h"
#include "kavrel/export/texture_copies.h"

namespace kavrel {

struct AssimpSceneOptions {
  bool textures = false;                       // materials name texture files to be copied beside the output
  bool lights_cameras = false;                 // lights and cameras as root nodes
  bool mirrored_copies = false;                // mirroring placements place copies with the faces reversed
  bool lines = false;                          // line groups become meshes too (see above)
  std::string output;                          // the output's path, which names the texture copies
};

class AssimpScene {
 public:
  // Texture files are checked through the host's texture files.
  AssimpScene(const Host &host, const ExportModel &model, const AssimpSceneOptions &options);
  ~AssimpScene();
  AssimpScene(const AssimpScene &) = delete;
  AssimpScene &operator=(const AssimpScene &) = delete;

  const aiScene &scene() const { return *scene_; }
  const TextureCopies &textures() const { return textures_; }
  // Nodes below the root "world", which the formats add anyway.
  size_t nodes() const { return nodes_; }
  // Triangles of every node's meshes, each placement counted: what a format
  // that stores the scene as one world-space mesh holds.
  size_t placed_triangles() const { return placed_triangles_; }
  // The faces of every mesh of triangles, and of every mesh of lines.
  size_t triangles() const;
  size_t lines() const;

 private:
  std::unique_ptr<aiScene> scene_;
  std::vector<std::unique_ptr<unsigned[]>> face_indices_;  // one block per mesh, its faces point into it
  TextureCopies textures_;
  size_t nodes_ = 0;
  size_t placed_triangles_ = 0;

  friend class AssimpSceneBuilder;
};

// Lights and cameras as root nodes (appended to *nodes) with their records.
void AddAssimpLights(const ExportModel &model, aiScene &out, std::vector<aiNode *> *nodes);
void AddAssimpCameras(const ExportModel &model, aiScene &out, std::vector<aiNode *> *nodes);

}  // namespace kavrel

#endif
