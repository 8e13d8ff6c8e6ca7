#include "kavrel/export/assimp_scene.h"

#include <algorithm>
#include <cmath>

#include "kavrel/export/prepared_meshes.h"
#include "kavrel/export/scene_walk.h"

namespace kavrel {
namespace {

// Ours: row vectors, translation in elements 12..14; assimp's: column
// vectors, translation in a4, b4, c4. The one is the other's transpose.
aiMatrix4x4 NodeMatrix(const Matrix &m) {
  aiMatrix4x4 out;
  ai_real *cells = &out.a1;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      const float v = m[column * 4 + row];
      cells[row * 4 + column] = std::isfinite(v) ? v : (row == column ? 1.0f : 0.0f);
    }
  }
  return out;
}

template <typename T>
T *ArrayOf(const std::vector<T> &items) {
  T *out = new T[items.size()];
  std::copy(items.begin(), items.end(), out);
  return out;
}

}  // namespace

class AssimpSceneBuilder {
 public:
  AssimpSceneBuilder(const Host &host, AssimpScene &out, const AssimpSceneOptions &options)
      : host_(host),
        scene_(host.scene()),
        out_(out),
        materials_(host, options.textures),
        options_(options),
        per_object_(scene_.objects.items.size()) {}

  void Build();

 private:
  struct ObjectMeshes {
    std::vector<int32_t> instance_surfaces;    // distinct surfaces of the instances placing it
    std::vector<unsigned> own;                 // meshes of the per-face surface groups
    std::vector<unsigned> by_instance_surface; // meshes of the instance's group, as instance_surfaces
  };

  void CollectPlacements(const std::vector<HierarchyEntry> &walk);
  void BuildObjects();
  void BuildObject(int32_t object, PreparedMesh &prepared);
  unsigned AddMesh(const std::string &name, const FlatMesh &flat, const std::vector<uint32_t> &indices,
                   unsigned material);
  std::vector<unsigned> MeshesOf(const Instance &instance) const;
  aiNode *MakeNodes(const std::vector<HierarchyEntry> &walk);
  aiNode *MakePlacementNodes(const std::vector<HierarchyEntry> &walk);
  unsigned WorldCopy(const aiMesh &mesh, const aiMatrix4x4 &world);

  const Host &host_;
  const Scene &scene_;
  AssimpScene &out_;
  AssimpMaterials materials_;
  AssimpSceneOptions options_;
  ExportNotes notes_;
  std::vector<ObjectMeshes> per_object_;       // by object index
  std::vector<aiMesh *> meshes_;
  std::vector<int32_t> remap_;                 // flat vertex -> mesh vertex, -1 when unused
};

void AssimpSceneBuilder::CollectPlacements(const std::vector<HierarchyEntry> &walk) {
  for (const HierarchyEntry &entry : walk) {
    const Instance &instance = scene_.instances.items[entry.instance];
    if (!IsLive(scene_.objects, instance.object) || !scene_.objects.items[instance.object].defined) continue;
    std::vector<int32_t> &surfaces = per_object_[instance.object].instance_surfaces;
    const int32_t surface = scene_.surfaces.find_index(instance.surface);
    if (std::find(surfaces.begin(), surfaces.end(), surface) == surfaces.end()) surfaces.push_back(surface);
  }
}

// Objects in slices, each prepared on several threads and then made into
// meshes here in object order; a slice bounds the flat meshes held at once.
void AssimpSceneBuilder::BuildObjects() {
  constexpr size_t kSlice = 256;
  std::vector<int32_t> placed;
  for (int32_t object = 0; object < static_cast<int32_t>(per_object_.size()); ++object) {
    if (!per_object_[object].instance_surfaces.empty()) placed.push_back(object);
  }
  for (size_t begin = 0; begin < placed.size(); begin += kSlice) {
    const size_t end = std::min(begin + kSlice, placed.size());
    const std::vector<int32_t> objects(placed.begin() + begin, placed.begin() + end);
    std::vector<PreparedMesh> prepared(objects.size());
    PrepareMeshes(scene_, objects, prepared.data());
    for (size_t k = 0; k < objects.size(); ++k) BuildObject(objects[k], prepared[k]);
  }
}

void AssimpSceneBuilder::BuildObject(int32_t object, PreparedMesh &prepared) {
  ObjectMeshes &meshes = per_object_[object];
  const Object &source = scene_.objects.items[object];
  notes_.Add(prepared.repairs);
  const FlatMesh flat = std::move(prepared.flat);
  if (flat.empty()) return;
  const bool double_sided = prepared.double_sided;
  remap_.assign(flat.vertex_count(), -1);
  for (const TriangleGroup &group : flat.groups) {
    if (group.surface != kNone) {
      const int32_t surface = scene_.surfaces.find_index(source.mesh.surface_names[group.surface]);
      meshes.own.push_back(AddMesh(source.name, flat, group.indices, materials_.For(surface, double_sided)));
      continue;
    }
    for (int32_t surface : meshes.instance_surfaces) {
      meshes.by_instance_surface.push_back(
          AddMesh(source.name, flat, group.indices, materials_.For(surface, double_sided)));
    }
  }
}

// The vertices the triangles use, renumbered in order of first use, and
// the triangles over them; the faces share one block of indices.
unsigned AssimpSceneBuilder::AddMesh(const std::string &name, const FlatMesh &flat,
                                     const std::vector<uint32_t> &indices, unsigned material) {
  unsigned used = 0;
  std::unique_ptr<unsigned[]> block(new unsigned[indices.size()]);
  for (size_t i = 0; i < indices.size(); ++i) {
    int32_t &slot = remap_[indices[i]];
    if (slot < 0) slot = static_cast<int32_t>(used++);
    block[i] = static_cast<unsigned>(slot);
  }
  auto *mesh = new aiMesh();
  mesh->mName = aiString(name);
  mesh->mMaterialIndex = material;
  mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
  mesh->mNumVertices = used;
  mesh->mVertices = new aiVector3D[used];
  if (!flat.normals.empty()) mesh->mNormals = new aiVector3D[used];
  if (!flat.texcoords.empty()) {
    mesh->mTextureCoords[0] = new aiVector3D[used];
    mesh->mNumUVComponents[0] = 2;
  }
  if (!flat.colors.empty()) mesh->mColors[0] = new aiColor4D[used];
  for (uint32_t v : indices) {
    int32_t &slot = remap_[v];
    if (slot < 0) continue;  // filled already
    const unsigned at = static_cast<unsigned>(slot);
    const float *p = &flat.positions[3 * v];
    mesh->mVertices[at] = aiVector3D(p[0], p[1], p[2]);
    if (mesh->mNormals) {
      const float *n = &flat.normals[3 * v];
      mesh->mNormals[at] = aiVector3D(n[0], n[1], n[2]);
    }
    // The flat mesh runs v downwards, as glTF does; assimp's v runs upwards.
    if (mesh->mTextureCoords[0]) {
      mesh->mTextureCoords[0][at] = aiVector3D(flat.texcoords[2 * v], 1.0f - flat.texcoords[2 * v + 1], 0);
    }
    if (mesh->mColors[0]) {
      const float *c = &flat.colors[3 * v];
      mesh->mColors[0][at] = aiColor4D(c[0], c[1], c[2], 1);
    }
    slot = -1;  // back to unused for the next mesh of the object
  }
  mesh->mNumFaces = static_cast<unsigned>(indices.size() / 3);
  mesh->mFaces = new aiFace[mesh->mNumFaces];
  for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
    mesh->mFaces[f].mNumIndices = 3;
    mesh->mFaces[f].mIndices = &block[3 * f];
  }
  out_.face_indices_.push_back(std::move(block));
  meshes_.push_back(mesh);
  return static_cast<unsigned>(meshes_.size() - 1);
}

std::vector<unsigned> AssimpSceneBuilder::MeshesOf(const Instance &instance) const {
  if (!IsLive(scene_.objects, instance.object)) return {};
  const ObjectMeshes &meshes = per_object_[instance.object];
  std::vector<unsigned> out = meshes.own;
  if (meshes.by_instance_surface.empty()) return out;
  const int32_t surface = scene_.surfaces.find_index(instance.surface);
  const auto it = std::find(meshes.instance_surfaces.begin(), meshes.instance_surfaces.end(), surface);
  out.push_back(meshes.by_instance_surface[it - meshes.instance_surfaces.begin()]);
  return out;
}

aiNode *AssimpSceneBuilder::MakeNodes(const std::vector<HierarchyEntry> &walk) {
  auto *root = new aiNode("world");
  std::vector<aiNode *> nodes;
  nodes.reserve(walk.size());
  std::vector<std::vector<aiNode *>> children(walk.size());
  std::vector<aiNode *> roots;
  for (const HierarchyEntry &entry : walk) {
    const Instance &instance = scene_.instances.items[entry.instance];
    auto *node = new aiNode(instance.name);
    node->mTransformation = NodeMatrix(instance.matrix);
    const std::vector<unsigned> meshes = MeshesOf(instance);
    if (!meshes.empty()) {
      node->mNumMeshes = static_cast<unsigned>(meshes.size());
      node->mMeshes = ArrayOf(meshes);
      for (unsigned m : meshes) out_.placed_triangles_ += meshes_[m]->mNumFaces;
      out_.placed_meshes_ += meshes.size();
    }
    nodes.push_back(node);
    (entry.parent == kNone ? roots : children[entry.parent]).push_back(node);
  }
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (!children[i].empty()) nodes[i]->addChildren(static_cast<unsigned>(children[i].size()), children[i].data());
  }
  const size_t instance_roots = roots.size();
  if (options_.lights_cameras) {
    AddAssimpLights(scene_, *out_.scene_, &roots);
    AddAssimpCameras(scene_, *out_.scene_, &roots);
  }
  if (!roots.empty()) root->addChildren(static_cast<unsigned>(roots.size()), roots.data());
  out_.nodes_ = walk.size() + roots.size() - instance_roots;
  return root;
}

// A copy of mesh with positions and normals taken into world space.
unsigned AssimpSceneBuilder::WorldCopy(const aiMesh &mesh, const aiMatrix4x4 &world) {
  const aiMatrix3x3 normal_matrix = aiMatrix3x3(world).Inverse().Transpose();
  auto *copy = new aiMesh();
  copy->mName = mesh.mName;
  copy->mMaterialIndex = mesh.mMaterialIndex;
  copy->mPrimitiveTypes = mesh.mPrimitiveTypes;
  copy->mNumVertices = mesh.mNumVertices;
  copy->mVertices = new aiVector3D[mesh.mNumVertices];
  for (unsigned v = 0; v < mesh.mNumVertices; ++v) copy->mVertices[v] = world * mesh.mVertices[v];
  if (mesh.mNormals) {
    copy->mNormals = new aiVector3D[mesh.mNumVertices];
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
      copy->mNormals[v] = (normal_matrix * mesh.mNormals[v]).Normalize();
    }
  }
  std::unique_ptr<unsigned[]> block(new unsigned[3 * mesh.mNumFaces]);
  copy->mNumFaces = mesh.mNumFaces;
  copy->mFaces = new aiFace[mesh.mNumFaces];
  for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
    std::copy(mesh.mFaces[f].mIndices, mesh.mFaces[f].mIndices + 3, &block[3 * f]);
    copy->mFaces[f].mNumIndices = 3;
    copy->mFaces[f].mIndices = &block[3 * f];
  }
  out_.face_indices_.push_back(std::move(block));
  meshes_.push_back(copy);
  return static_cast<unsigned>(meshes_.size() - 1);
}

// One root child per instance that places meshes, named after it, holding
// world-space copies; the meshes as built stay in the scene unplaced.
aiNode *AssimpSceneBuilder::MakePlacementNodes(const std::vector<HierarchyEntry> &walk) {
  auto *root = new aiNode("world");
  std::vector<aiMatrix4x4> world(walk.size());
  std::vector<aiNode *> placed;
  for (size_t i = 0; i < walk.size(); ++i) {
    const Instance &instance = scene_.instances.items[walk[i].instance];
    world[i] = NodeMatrix(instance.matrix);
    if (walk[i].parent != kNone) world[i] = world[walk[i].parent] * world[i];
    std::vector<unsigned> meshes = MeshesOf(instance);
    if (meshes.empty()) continue;
    for (unsigned &m : meshes) {
      m = WorldCopy(*meshes_[m], world[i]);
      out_.placed_triangles_ += meshes_[m]->mNumFaces;
      ++out_.placed_meshes_;
    }
    auto *node = new aiNode(instance.name);
    node->mNumMeshes = static_cast<unsigned>(meshes.size());
    node->mMeshes = ArrayOf(meshes);
    placed.push_back(node);
  }
  if (!placed.empty()) root->addChildren(static_cast<unsigned>(placed.size()), placed.data());
  out_.nodes_ = placed.size();
  return root;
}

void AssimpSceneBuilder::Build() {
  const std::vector<HierarchyEntry> walk = WalkHierarchy(scene_);
  CollectPlacements(walk);
  BuildObjects();
  aiScene &out = *out_.scene_;
  out.mRootNode = options_.placements_at_root ? MakePlacementNodes(walk) : MakeNodes(walk);
  out.mNumMeshes = static_cast<unsigned>(meshes_.size());
  out.mMeshes = ArrayOf(meshes_);
  meshes_.clear();
  out.mMaterials = materials_.Release(&out.mNumMaterials);
  out_.textures_ = materials_.copies();
  const std::string summary = notes_.Summary();
  if (!summary.empty()) ReportExportWarning(host_, summary);
}

AssimpScene::AssimpScene(const Host &host, const AssimpSceneOptions &options) : scene_(new aiScene()) {
  AssimpSceneBuilder(host, *this, options).Build();
}

AssimpScene::~AssimpScene() {
  // The faces point into the blocks held here, which assimp must not free.
  for (unsigned m = 0; m < scene_->mNumMeshes; ++m) {
    aiMesh *mesh = scene_->mMeshes[m];
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) mesh->mFaces[f].mIndices = nullptr;
  }
}

size_t AssimpScene::triangles() const {
  size_t total = 0;
  for (unsigned m = 0; m < scene_->mNumMeshes; ++m) total += scene_->mMeshes[m]->mNumFaces;
  return total;
}

}  // namespace kavrel
