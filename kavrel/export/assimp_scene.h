// The host's scene database as an assimp scene, for assimp's exporters.
// The hierarchy comes from the same walk as the glTF export: a root node
// "world" whose children are world's children, every live instance a node
// with its name and matrix (hidden instances too: these formats have no
// such flag), then one root child per enabled light and per camera. Objects
// are flattened as for glTF (triangles, one vertex per distinct corner,
// counter-clockwise fronts) into one mesh per face surface; a triangle
// group drawn with the placing instance's surface becomes one mesh per
// distinct material of those instances. Texture v runs upwards, as in the
// host. For a writer that reads only the root's children and no matrices
// (3MF), placements_at_root gives instead one root child per placed object
// with its meshes copied into world space.
#ifndef KAVREL_EXPORT_ASSIMP_SCENE_H
#define KAVREL_EXPORT_ASSIMP_SCENE_H

#include <cstddef>
#include <memory>
#include <vector>

#include <assimp/scene.h>

#include "kavrel/export/assimp_materials.h"
#include "kavrel/export/export_notes.h"
#include "kavrel/host.h"

namespace kavrel {

struct AssimpSceneOptions {
  bool textures = false;                       // materials name texture files to be copied beside the output
  bool placements_at_root = false;             // see above
  bool lights_cameras = false;                 // lights and cameras as root nodes
};

class AssimpScene {
 public:
  // The host's scene; textures checked through its texture files, repairs
  // reported to it.
  AssimpScene(const Host &host, const AssimpSceneOptions &options);
  ~AssimpScene();
  AssimpScene(const AssimpScene &) = delete;
  AssimpScene &operator=(const AssimpScene &) = delete;

  const aiScene &scene() const { return *scene_; }
  const std::vector<TextureCopy> &textures() const { return textures_; }
  // Nodes below the root "world", which the formats add anyway.
  size_t nodes() const { return nodes_; }
  // Meshes of every node, each placement counted: what a format that
  // copies each placement into world space holds.
  size_t placed_meshes() const { return placed_meshes_; }
  // Triangles of every node's meshes, each placement counted: what a format
  // that stores the scene as one world-space mesh holds.
  size_t placed_triangles() const { return placed_triangles_; }
  size_t triangles() const;

 private:
  std::unique_ptr<aiScene> scene_;
  std::vector<std::unique_ptr<unsigned[]>> face_indices_;  // one block per mesh, its faces point into it
  std::vector<TextureCopy> textures_;
  size_t nodes_ = 0;
  size_t placed_triangles_ = 0;
  size_t placed_meshes_ = 0;

  friend class AssimpSceneBuilder;
};

// Lights and cameras as root nodes (appended to *nodes) with their records.
void AddAssimpLights(const Scene &scene, aiScene &out, std::vector<aiNode *> *nodes);
void AddAssimpCameras(const Scene &scene, aiScene &out, std::vector<aiNode *> *nodes);

}  // namespace kavrel

#endif
