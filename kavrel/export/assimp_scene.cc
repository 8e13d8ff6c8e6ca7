#include "kavrel/export/assimp_scene.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "kavrel/export/assimp_materials.h"

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

// The faces of mesh when they are triangles.
size_t TrianglesOf(const aiMesh &mesh) { return mesh.mPrimitiveTypes == aiPrimitiveType_TRIANGLE ? mesh.mNumFaces : 0; }

template <typename T>
T *ArrayOf(const std::vector<T> &items) {
  T *out = new T[items.size()];
  std::copy(items.begin(), items.end(), out);
  return out;
}

}  // namespace

class AssimpSceneBuilder {
 public:
  AssimpSceneBuilder(const Host &host, const ExportModel &model, AssimpScene &out, const AssimpSceneOptions &options)
      : host_(host), model_(model), out_(out), options_(options), per_object_(model.objects.size()) {}

  void Build();

 private:
  struct ObjectMeshes {
    std::vector<unsigned> own;                 // meshes of the groups with a material of their own
    // Meshes of the groups drawn with the instance's surface: for each
    // such group, one per material of ModelObject::instance_materials.
    std::vector<unsigned> by_instance_material;
  };

  void BuildObject(size_t object);
  unsigned AddMesh(const std::string &name, const FlatMesh &flat, PrimitiveKind kind,
                   const std::vector<uint32_t> &indices, unsigned material);
  std::vector<unsigned> MeshesOf(const ModelPlacement &placement) const;
  aiNode *MakeNodes();
  unsigned MirroredCopy(unsigned mesh);
  void CopyFaces(const aiMesh &from, aiMesh &to, bool reversed);

  const Host &host_;
  const ExportModel &model_;
  AssimpScene &out_;
  AssimpSceneOptions options_;
  std::vector<ObjectMeshes> per_object_;       // by model object
  std::vector<aiMesh *> meshes_;
  std::vector<int32_t> remap_;                 // flat vertex -> mesh vertex, -1 when unused
  std::vector<int64_t> mirrored_copy_;         // by mesh: its copy with faces reversed, -1 until made
};

void AssimpSceneBuilder::BuildObject(size_t index) {
  const ModelObject &object = model_.objects[index];
  if (object.mesh == kNone) return;
  ObjectMeshes &meshes = per_object_[index];
  const FlatMesh &flat = model_.meshes[object.mesh].flat;
  remap_.assign(flat.vertex_count(), -1);
  ForEachGroup(flat, [&](PrimitiveKind kind, const PrimitiveGroup &group) {
    if (kind == PrimitiveKind::kPoints || (kind == PrimitiveKind::kLines && !options_.lines)) return;
    if (group.material != kNone) {
      meshes.own.push_back(AddMesh(object.name, flat, kind, group.indices, group.material));
      return;
    }
    for (int32_t material : object.instance_materials)
      meshes.by_instance_material.push_back(AddMesh(object.name, flat, kind, group.indices, material));
  });
}

// The vertices the primitives use, renumbered in order of first use, and
// the faces over them, which share one block of indices. Segments take
// positions only.
unsigned AssimpSceneBuilder::AddMesh(const std::string &name, const FlatMesh &flat, PrimitiveKind kind,
                                     const std::vector<uint32_t> &indices, unsigned material) {
  const bool triangles = kind == PrimitiveKind::kTriangles;
  const unsigned per_face = static_cast<unsigned>(VerticesPer(kind));
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
  mesh->mPrimitiveTypes = triangles ? aiPrimitiveType_TRIANGLE : aiPrimitiveType_LINE;
  mesh->mNumVertices = used;
  mesh->mVertices = new aiVector3D[used];
  if (triangles && !flat.normals.empty()) mesh->mNormals = new aiVector3D[used];
  if (triangles && !flat.texcoords.empty()) {
    mesh->mTextureCoords[0] = new aiVector3D[used];
    mesh->mNumUVComponents[0] = 2;
  }
  // COLLADA's <lines> would name the colours without the offset its schema asks for.
  if (triangles && !flat.colors.empty()) mesh->mColors[0] = new aiColor4D[used];
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
  mesh->mNumFaces = static_cast<unsigned>(indices.size() / per_face);
  mesh->mFaces = new aiFace[mesh->mNumFaces];
  for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
    mesh->mFaces[f].mNumIndices = per_face;
    mesh->mFaces[f].mIndices = &block[per_face * f];
  }
  out_.face_indices_.push_back(std::move(block));
  meshes_.push_back(mesh);
  return static_cast<unsigned>(meshes_.size() - 1);
}

std::vector<unsigned> AssimpSceneBuilder::MeshesOf(const ModelPlacement &placement) const {
  if (placement.object == kNone) return {};
  const ObjectMeshes &meshes = per_object_[placement.object];
  std::vector<unsigned> out = meshes.own;
  if (meshes.by_instance_material.empty()) return out;
  const std::vector<int32_t> &materials = model_.objects[placement.object].instance_materials;
  const size_t at = std::find(materials.begin(), materials.end(), placement.instance_material) - materials.begin();
  for (size_t group = 0; group < meshes.by_instance_material.size(); group += materials.size())
    out.push_back(meshes.by_instance_material[group + at]);
  return out;
}

aiNode *AssimpSceneBuilder::MakeNodes() {
  auto *root = new aiNode("world");
  const std::vector<ModelPlacement> &placements = model_.placements;
  std::vector<aiNode *> nodes;
  nodes.reserve(placements.size());
  std::vector<std::vector<aiNode *>> children(placements.size());
  std::vector<aiNode *> roots;
  for (const ModelPlacement &placement : placements) {
    auto *node = new aiNode(placement.name);
    node->mTransformation = NodeMatrix(placement.local);
    std::vector<unsigned> meshes = MeshesOf(placement);
    if (options_.mirrored_copies && placement.mirrors) {
      for (unsigned &m : meshes) m = MirroredCopy(m);
    }
    if (!meshes.empty()) {
      node->mNumMeshes = static_cast<unsigned>(meshes.size());
      node->mMeshes = ArrayOf(meshes);
      for (unsigned m : meshes) out_.placed_triangles_ += TrianglesOf(*meshes_[m]);
    }
    nodes.push_back(node);
    (placement.parent == kNone ? roots : children[placement.parent]).push_back(node);
  }
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (!children[i].empty()) nodes[i]->addChildren(static_cast<unsigned>(children[i].size()), children[i].data());
  }
  const size_t instance_roots = roots.size();
  if (options_.lights_cameras) {
    AddAssimpLights(model_, *out_.scene_, &roots);
    AddAssimpCameras(model_, *out_.scene_, &roots);
  }
  if (!roots.empty()) root->addChildren(static_cast<unsigned>(roots.size()), roots.data());
  out_.nodes_ = placements.size() + roots.size() - instance_roots;
  return root;
}

// The faces of from as to's, in one block of indices; reversed: each
// triangle's corners in the opposite order.
void AssimpSceneBuilder::CopyFaces(const aiMesh &from, aiMesh &to, bool reversed) {
  const unsigned n = from.mPrimitiveTypes == aiPrimitiveType_LINE ? 2 : 3;
  reversed = reversed && n == 3;
  std::unique_ptr<unsigned[]> block(new unsigned[n * from.mNumFaces]);
  to.mNumFaces = from.mNumFaces;
  to.mFaces = new aiFace[from.mNumFaces];
  for (unsigned f = 0; f < from.mNumFaces; ++f) {
    const unsigned *corners = from.mFaces[f].mIndices;
    for (unsigned k = 0; k < n; ++k) block[n * f + k] = corners[reversed ? n - 1 - k : k];
    to.mFaces[f].mNumIndices = n;
    to.mFaces[f].mIndices = &block[n * f];
  }
  out_.face_indices_.push_back(std::move(block));
}

// The mesh with its faces reversed, made once, for placements whose world
// matrix mirrors in a format that assimp takes into world space itself:
// it moves positions and normals but keeps the corners' order.
unsigned AssimpSceneBuilder::MirroredCopy(unsigned mesh) {
  int64_t &made = mirrored_copy_[mesh];
  if (made >= 0) return static_cast<unsigned>(made);
  const aiMesh &source = *meshes_[mesh];
  auto *copy = new aiMesh();
  copy->mName = source.mName;
  copy->mMaterialIndex = source.mMaterialIndex;
  copy->mPrimitiveTypes = source.mPrimitiveTypes;
  copy->mNumVertices = source.mNumVertices;
  auto copy_array = [&](const auto *from, auto **to) {
    if (from == nullptr) return;
    *to = new std::remove_const_t<std::remove_pointer_t<decltype(from)>>[source.mNumVertices];
    std::copy(from, from + source.mNumVertices, *to);
  };
  copy_array(source.mVertices, &copy->mVertices);
  copy_array(source.mNormals, &copy->mNormals);
  copy_array(source.mTextureCoords[0], &copy->mTextureCoords[0]);
  copy->mNumUVComponents[0] = source.mNumUVComponents[0];
  copy_array(source.mColors[0], &copy->mColors[0]);
  CopyFaces(source, *copy, true);
  meshes_.push_back(copy);
  made = static_cast<int64_t>(meshes_.size() - 1);
  return static_cast<unsigned>(made);
}

void AssimpSceneBuilder::Build() {
  for (size_t object = 0; object < model_.objects.size(); ++object) BuildObject(object);
  mirrored_copy_.assign(meshes_.size(), -1);
  aiScene &out = *out_.scene_;
  out.mRootNode = MakeNodes();
  out.mNumMeshes = static_cast<unsigned>(meshes_.size());
  out.mMeshes = ArrayOf(meshes_);
  meshes_.clear();
  if (options_.textures) out_.textures_ = PlanTextureCopies(host_, model_, options_.output);
  out.mMaterials = MakeAssimpMaterials(model_, options_.textures ? &out_.textures_ : nullptr, &out.mNumMaterials);
}

AssimpScene::AssimpScene(const Host &host, const ExportModel &model, const AssimpSceneOptions &options)
    : scene_(new aiScene()) {
  AssimpSceneBuilder(host, model, *this, options).Build();
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
  for (unsigned m = 0; m < scene_->mNumMeshes; ++m) total += TrianglesOf(*scene_->mMeshes[m]);
  return total;
}

size_t AssimpScene::lines() const {
  size_t total = 0;
  for (unsigned m = 0; m < scene_->mNumMeshes; ++m) {
    const aiMesh &mesh = *scene_->mMeshes[m];
    total += mesh.mNumFaces - TrianglesOf(mesh);
  }
  return total;
}

}  // namespace kavrel
