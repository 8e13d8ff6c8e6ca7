#include "kavrel/export/node_transform.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kavrel {
namespace {

using Matrix3 = double[3][3];

// Column j of the linear part in glTF's column-vector form is our row j.
Vec3 LinearColumn(const Matrix &m, int j) { return {m[4 * j], m[4 * j + 1], m[4 * j + 2]}; }

Matrix Sanitized(const Matrix &m, ExportNotes &notes) {
  const Matrix identity = IdentityMatrix();
  Matrix out;
  for (int i = 0; i < 16; ++i) out[i] = notes.Finite(m[i], identity[i]);
  if (out[3] == 0 && out[7] == 0 && out[11] == 0 && out[15] == 1) return out;
  ++notes.flattened_projections;
  if (out[15] != 0) {
    for (float &v : out) v /= out[15];
  }
  out[3] = out[7] = out[11] = 0;
  out[15] = 1;
  return out;
}

bool HasOrthogonalColumns(const Matrix &m) {
  Vec3 c[3] = {LinearColumn(m, 0), LinearColumn(m, 1), LinearColumn(m, 2)};
  float length[3] = {Length(c[0]), Length(c[1]), Length(c[2])};
  for (float l : length) {
    if (!(l > 0.0f)) return false;
  }
  const int pairs[3][2] = {{0, 1}, {0, 2}, {1, 2}};
  for (const auto &p : pairs) {
    if (std::fabs(Dot(c[p[0]], c[p[1]])) > 1e-5f * length[p[0]] * length[p[1]]) return false;
  }
  return true;
}

// Cyclic Jacobi rotations: a symmetric becomes diagonal (its eigenvalues),
// v collects the eigenvectors as columns.
void SymmetricEigen(Matrix3 a, Matrix3 v) {
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) v[r][c] = r == c ? 1 : 0;
  }
  for (int sweep = 0; sweep < 32; ++sweep) {
    double off = a[0][1] * a[0][1] + a[0][2] * a[0][2] + a[1][2] * a[1][2];
    double diag = a[0][0] * a[0][0] + a[1][1] * a[1][1] + a[2][2] * a[2][2];
    if (off <= 1e-30 * diag || off == 0) return;
    const int pairs[3][2] = {{0, 1}, {0, 2}, {1, 2}};
    for (const auto &pq : pairs) {
      int p = pq[0], q = pq[1];
      if (a[p][q] == 0) continue;
      double theta = (a[q][q] - a[p][p]) / (2 * a[p][q]);
      double t = (theta >= 0 ? 1 : -1) / (std::fabs(theta) + std::sqrt(theta * theta + 1));
      double c = 1 / std::sqrt(t * t + 1), s = t * c;
      for (int k = 0; k < 3; ++k) {
        double kp = a[k][p], kq = a[k][q];
        a[k][p] = c * kp - s * kq;
        a[k][q] = s * kp + c * kq;
      }
      for (int k = 0; k < 3; ++k) {
        double pk = a[p][k], qk = a[q][k];
        a[p][k] = c * pk - s * qk;
        a[q][k] = s * pk + c * qk;
      }
      for (int k = 0; k < 3; ++k) {
        double kp = v[k][p], kq = v[k][q];
        v[k][p] = c * kp - s * kq;
        v[k][q] = s * kp + c * kq;
      }
    }
  }
}

double Determinant(const Vec3 &a, const Vec3 &b, const Vec3 &c) { return Dot(a, Cross(b, c)); }

// Any unit vector perpendicular to the unit vector u.
Vec3 Perpendicular(const Vec3 &u) {
  Vec3 axis = std::fabs(u[0]) < 0.6f ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
  Vec3 p = Cross(u, axis);
  Normalize(&p);
  return p;
}

// m's linear part A = U diag(sigma) V^T with U and V proper rotations; the
// sign of a mirroring matrix goes into the last sigma.
void SplitLinearPart(const Matrix &m, NodeTransform *out) {
  Vec3 col[3] = {LinearColumn(m, 0), LinearColumn(m, 1), LinearColumn(m, 2)};
  double ata[3][3], v[3][3];
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) ata[i][j] = Dot(col[i], col[j]);
  }
  SymmetricEigen(ata, v);
  Vec3 eigen[3];
  double lambda[3];
  for (int i = 0; i < 3; ++i) {
    eigen[i] = {float(v[0][i]), float(v[1][i]), float(v[2][i])};
    lambda[i] = ata[i][i];
  }
  for (int i = 0; i < 2; ++i) {  // sort by decreasing eigenvalue
    for (int j = i + 1; j < 3; ++j) {
      if (lambda[j] > lambda[i]) {
        std::swap(lambda[i], lambda[j]);
        std::swap(eigen[i], eigen[j]);
      }
    }
  }
  if (Determinant(eigen[0], eigen[1], eigen[2]) < 0) {
    for (float &c : eigen[2]) c = -c;
  }
  Vec3 u[3];
  float sigma[3];
  int rank = 0;
  for (int i = 0; i < 3; ++i) {
    sigma[i] = static_cast<float>(std::sqrt(std::max(lambda[i], 0.0)));
    if (!(sigma[i] > 1e-7f * sigma[0])) {
      sigma[i] = 0;
      continue;
    }
    for (int r = 0; r < 3; ++r) {
      u[i][r] = (col[0][r] * eigen[i][0] + col[1][r] * eigen[i][1] + col[2][r] * eigen[i][2]) / sigma[i];
    }
    Normalize(&u[i]);
    ++rank;
  }
  if (rank == 0) u[0] = {1, 0, 0};
  if (rank <= 1) u[1] = Perpendicular(u[0]);
  if (rank <= 2) u[2] = Cross(u[0], u[1]);
  if (Determinant(u[0], u[1], u[2]) < 0) {
    for (float &c : u[2]) c = -c;
    sigma[2] = -sigma[2];
  }
  out->rotation = QuaternionFromFrame(Frame{u[0], u[1], u[2]});
  out->scale = {sigma[0], sigma[1], sigma[2]};
  // V^T's columns are V's rows.
  Frame inner{{eigen[0][0], eigen[1][0], eigen[2][0]},
              {eigen[0][1], eigen[1][1], eigen[2][1]},
              {eigen[0][2], eigen[1][2], eigen[2][2]}};
  out->inner_rotation = QuaternionFromFrame(inner);
}

// Elements near the float limit overflow the decomposition's products: such
// a part falls back to the identity's.
template <typename Array>
void KeepFinite(Array *values, const Array &fallback, ExportNotes &notes) {
  if (std::all_of(values->begin(), values->end(), [](float v) { return std::isfinite(v); })) return;
  ++notes.replaced_numbers;
  *values = fallback;
}

// m (sanitized) as translation x rotation x scale x inner rotation.
NodeTransform Split(const Matrix &m, ExportNotes &notes) {
  NodeTransform out;
  out.kind = NodeTransform::Kind::kSplit;
  out.translation = {m[12], m[13], m[14]};
  SplitLinearPart(m, &out);
  KeepFinite(&out.rotation, {0, 0, 0, 1}, notes);
  KeepFinite(&out.inner_rotation, {0, 0, 0, 1}, notes);
  KeepFinite(&out.scale, {1, 1, 1}, notes);
  return out;
}

}  // namespace

NodeTransform NodeTransformFor(const Matrix &matrix, ExportNotes &notes) {
  NodeTransform out;
  Matrix m = Sanitized(matrix, notes);
  if (m == IdentityMatrix()) return out;
  if (HasOrthogonalColumns(m)) {
    out.kind = NodeTransform::Kind::kMatrix;
    out.matrix = m;
    return out;
  }
  return Split(m, notes);
}

NodeTransform SplitNodeTransform(const Matrix &matrix, ExportNotes &notes) {
  const Matrix m = Sanitized(matrix, notes);
  return m == IdentityMatrix() ? NodeTransform{} : Split(m, notes);
}

}  // namespace kavrel
