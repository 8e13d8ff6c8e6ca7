// Mesh operations of the scene database, each in linear expected time.
#ifndef KAVREL_MESH_MESH_OPS_H
#define KAVREL_MESH_MESH_OPS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "kavrel/mesh/mesh.h"

namespace kavrel {

enum class MeshStream { kPosition, kNormal, kTexcoord, kColor };

// True when the mesh has the stream (its index list is not empty).
bool HasStream(const Mesh &mesh, MeshStream stream);

// True when some polygon of the mesh is a face (three corners or more), not
// a segment or a point.
bool HasFaces(const Mesh &mesh);

// Welds the values of one stream that lie within threshold of each other
// (per component), by spatial hashing; rewrites that stream's indices only.
// Welding positions also drops faces whose corners collapse into fewer
// than three distinct positions and segments whose two ends weld into one;
// points stay.
void CombineStream(Mesh &mesh, MeshStream stream, float threshold);

// CombineStream in two steps, so that welds of different streams can be
// worked out side by side: WeldValues only reads the mesh, ApplyWeld
// changes it (welding positions also drops what collapsed; true when
// anything was dropped, which changes every stream's corners). A weld
// applies only to the mesh as it was when worked out.
struct StreamWeld {
  std::vector<int32_t> rep_of;                 // by value: its representative, -1 for a value no corner uses
  std::vector<Vec3> reps;
};
StreamWeld WeldValues(const Mesh &mesh, MeshStream stream, float threshold);
bool ApplyWeld(Mesh &mesh, MeshStream stream, StreamWeld &weld);

// Replaces the normals by smoothed ones: corners that share a position
// share a normal where the faces meet at less than angle_degrees. The
// corners of segments and points, which have no surface, share one
// placeholder normal (+Z); a mesh without faces is left as it is.
void CalcSmoothNormals(Mesh &mesh, float angle_degrees);

// Merges coplanar neighbouring polygons (within angle_degrees) that share
// the same surface into quadrilaterals only, or into larger convex polygons.
// Segments and points stay as they are.
void MergeCoplanarPolygons(Mesh &mesh, bool quads_only, float angle_degrees);

// True when the mesh is well formed: every polygon has at least one
// corner, the face sizes add up to the corner count, every index list
// matches its stream (empty exactly when the stream is) and points inside
// it, and per-face surfaces are -1 or inside surface_names; *problem
// (optional) says why it failed. The operations here trust their meshes to
// pass it: the host checks a mesh once, where it enters the scene database,
// and the operations keep it well formed (debug builds assert it).
bool CheckMesh(const Mesh &mesh, std::string *problem);

// Appends src to dst with matrix applied (row vectors, p' = p x M):
// positions by the matrix, normals by its inverse transpose, and the corner
// order reversed where the matrix mirrors or the two meshes disagree on
// clockwise, so dst's winding holds for the appended polygons. A stream that
// only one side has is completed with face normals, texture coordinate
// (0, 0, 0) or colour (1, 1, 1); per-face surfaces keep their names.
void AppendMesh(Mesh &dst, const Mesh &src, const Matrix &matrix);

// Identity of meshes by their exact bytes: every value (floats compared bit
// for bit, so 0 and -0 differ and a NaN equals only the same NaN), every
// index list, face size and per-face surface, the surface names and the
// winding. Equal meshes have equal hashes; SameMesh confirms a match.
uint64_t MeshHash(const Mesh &mesh);
bool SameMesh(const Mesh &a, const Mesh &b);

// Corners of the box around count points; (0, 0, 0) twice for none.
void PointBounds(const Vec3 *points, size_t count, Vec3 *min, Vec3 *max);
// PointBounds of the mesh's positions.
void MeshBounds(const Mesh &mesh, Vec3 *min, Vec3 *max);

}  // namespace kavrel

#endif
