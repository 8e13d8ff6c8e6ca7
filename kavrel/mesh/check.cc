// Well-formedness of a mesh, checked before any operation trusts its indices.
#include <string>

#include "kavrel/mesh/mesh_internal.h"

namespace kavrel {

namespace {

bool Fail(std::string *problem, const std::string &text) {
  if (problem) *problem = text;
  return false;
}

const char *StreamWord(MeshStream stream) {
  switch (stream) {
    case MeshStream::kNormal: return "normal";
    case MeshStream::kTexcoord: return "texture coordinate";
    case MeshStream::kColor: return "colour";
    case MeshStream::kPosition: break;
  }
  return "position";
}

bool CheckStream(const Mesh &mesh, MeshStream stream, std::string *problem) {
  mesh_detail::ConstStreamRef ref = mesh_detail::StreamOf(mesh, stream);
  const std::string word = StreamWord(stream);
  if (ref.values->empty() != ref.index->empty())
    return Fail(problem, word + " indices and values disagree on whether the stream exists");
  if (!ref.index->empty() && ref.index->size() != mesh.corner_count())
    return Fail(problem, word + " indices do not cover every corner");
  const int64_t limit = static_cast<int64_t>(ref.values->size());
  for (int32_t i : *ref.index)
    if (i < 0 || i >= limit) return Fail(problem, word + " index " + std::to_string(i) + " out of range");
  return true;
}

}  // namespace

bool CheckMesh(const Mesh &mesh, std::string *problem) {
  int64_t corners = 0;
  for (int32_t size : mesh.face_sizes) {
    if (size < 1) return Fail(problem, "polygon without corners");
    corners += size;
  }
  if (corners != static_cast<int64_t>(mesh.corner_count()))
    return Fail(problem, "face sizes do not add up to the corner count");
  if (mesh.positions.empty() && !mesh.face_sizes.empty()) return Fail(problem, "polygons without positions");
  for (MeshStream stream : mesh_detail::kAllStreams)
    if (!CheckStream(mesh, stream, problem)) return false;
  if (!mesh.face_surface.empty() && mesh.face_surface.size() != mesh.face_sizes.size())
    return Fail(problem, "per-face surfaces do not cover every polygon");
  const int64_t surfaces = static_cast<int64_t>(mesh.surface_names.size());
  for (int32_t s : mesh.face_surface)
    if (s < -1 || s >= surfaces) return Fail(problem, "per-face surface out of range");
  return true;
}

}  // namespace kavrel
