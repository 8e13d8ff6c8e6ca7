// The geometry of an OBJ output: every placed mesh in world space.
#include <cmath>

#include "kavrel/export/obj_writer.h"

namespace kavrel {
namespace {

// What a placement does to normals: the inverse transpose of its linear
// part, up to a positive factor (the normals are normalised after it).
// Made of cofactors, so that a singular matrix has one too.
struct NormalMatrix {
  aiVector3D x, y, z;                          // the images of the unit axes
  bool mirrors = false;                        // the determinant is negative
};

NormalMatrix NormalMatrixOf(const aiMatrix4x4 &m) {
  const aiVector3D c1(m.a1, m.b1, m.c1), c2(m.a2, m.b2, m.c2), c3(m.a3, m.b3, m.c3);
  NormalMatrix out{c2 ^ c3, c3 ^ c1, c1 ^ c2};
  if (c1 * out.x < 0) {
    out = {-out.x, -out.y, -out.z, true};
  }
  return out;
}

class GeometryWriter {
 public:
  GeometryWriter(const aiScene &scene, const std::vector<std::string> &material_names, TextOutput &out);

  // Every mesh of the hierarchy, each node's own before its children's.
  void PlaceAll(const aiNode &root);

 private:
  void Place(const aiMesh &mesh, const std::string &group, const aiMatrix4x4 &world);
  void Positions(const aiMesh &mesh, const aiMatrix4x4 &world);
  void TexCoords(const aiMesh &mesh);
  void Normals(const aiMesh &mesh, const NormalMatrix &matrix);
  void Faces(const aiMesh &mesh, bool reversed);
  void Corner(uint64_t number, bool texcoords, bool normals);
  void Numbers(const char *tag, const float *values, int count);

  const aiScene &scene_;
  const std::vector<std::string> &material_names_;
  TextOutput &out_;
  bool colors_ = false;                        // every "v" carries a colour
  uint64_t written_ = 0;                       // vertices written before the current mesh
};

GeometryWriter::GeometryWriter(const aiScene &scene, const std::vector<std::string> &material_names,
                               TextOutput &out)
    : scene_(scene), material_names_(material_names), out_(out) {
  // Readers take colours for every vertex or for none.
  for (unsigned m = 0; m < scene.mNumMeshes; ++m) colors_ = colors_ || scene.mMeshes[m]->HasVertexColors(0);
}

void GeometryWriter::PlaceAll(const aiNode &root) {
  // A stack of its own: hierarchies may be deeper than the call stack.
  struct Pending {
    const aiNode *node;
    aiMatrix4x4 parent;                        // the parent's world matrix
  };
  std::vector<Pending> pending{{&root, aiMatrix4x4()}};
  while (!pending.empty()) {
    const Pending next = pending.back();
    pending.pop_back();
    const aiMatrix4x4 world = next.parent * next.node->mTransformation;
    // Groups named after the node: readers join consecutive groups of one
    // name and material, which two placements of a mesh would be otherwise.
    const std::string group = next.node->mNumMeshes > 0 ? ObjName(next.node->mName.C_Str()) : "";
    for (unsigned m = 0; m < next.node->mNumMeshes; ++m) Place(*scene_.mMeshes[next.node->mMeshes[m]], group, world);
    for (unsigned c = next.node->mNumChildren; c-- > 0;) pending.push_back({next.node->mChildren[c], world});
  }
}

void GeometryWriter::Place(const aiMesh &mesh, const std::string &group, const aiMatrix4x4 &world) {
  const NormalMatrix normals = NormalMatrixOf(world);
  out_.Text("\ng ");
  out_.Text(group);
  out_.Char('\n');
  Positions(mesh, world);
  TexCoords(mesh);
  Normals(mesh, normals);
  out_.Text("usemtl ");
  out_.Text(material_names_[mesh.mMaterialIndex]);
  out_.Char('\n');
  Faces(mesh, normals.mirrors);
  written_ += mesh.mNumVertices;
}

void GeometryWriter::Numbers(const char *tag, const float *values, int count) {
  out_.Text(tag);
  for (int i = 0; i < count; ++i) {
    out_.Char(' ');
    out_.Float(values[i]);
  }
}

void GeometryWriter::Positions(const aiMesh &mesh, const aiMatrix4x4 &world) {
  static const aiColor4D kWhite(1, 1, 1, 1);
  for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
    const aiVector3D p = world * mesh.mVertices[v];
    Numbers("v", &p.x, 3);
    if (colors_) Numbers("", &(mesh.mColors[0] ? mesh.mColors[0][v] : kWhite).r, 3);
    out_.Char('\n');
  }
}

void GeometryWriter::TexCoords(const aiMesh &mesh) {
  if (!mesh.HasTextureCoords(0)) return;
  const int components = mesh.mNumUVComponents[0] == 3 ? 3 : 2;
  for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
    Numbers("vt", &mesh.mTextureCoords[0][v].x, components);
    out_.Char('\n');
  }
}

void GeometryWriter::Normals(const aiMesh &mesh, const NormalMatrix &matrix) {
  if (!mesh.HasNormals()) return;
  for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
    const aiVector3D &n = mesh.mNormals[v];
    aiVector3D world = matrix.x * n.x + matrix.y * n.y + matrix.z * n.z;
    const float length = world.Length();
    if (length > 0) world /= length;
    Numbers("vn", &world.x, 3);
    out_.Char('\n');
  }
}

void GeometryWriter::Corner(uint64_t number, bool texcoords, bool normals) {
  out_.Char(' ');
  out_.Unsigned(number);
  if (!texcoords && !normals) return;
  out_.Char('/');
  if (texcoords) out_.Unsigned(number);
  if (!normals) return;
  out_.Char('/');
  out_.Unsigned(number);
}

void GeometryWriter::Faces(const aiMesh &mesh, bool reversed) {
  const bool texcoords = mesh.HasTextureCoords(0), normals = mesh.HasNormals();
  const uint64_t first = written_ + 1;  // OBJ counts from 1
  for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
    const aiFace &face = mesh.mFaces[f];
    out_.Char('f');
    for (unsigned k = 0; k < face.mNumIndices; ++k) {
      const unsigned corner = reversed ? face.mNumIndices - 1 - k : k;
      Corner(first + face.mIndices[corner], texcoords, normals);
    }
    out_.Char('\n');
  }
}

}  // namespace

void WriteObjGeometry(const aiScene &scene, const std::vector<std::string> &material_names,
                      const std::string &library, TextOutput &out) {
  out.Text("mtllib ");
  out.Text(library);
  out.Char('\n');
  GeometryWriter(scene, material_names, out).PlaceAll(*scene.mRootNode);
}

}  // namespace kavrel
