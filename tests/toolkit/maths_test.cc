// The toolkit's maths against Coin3D's, whose matrices use the same row
// vector convention.
#include <Inventor/SbMatrix.h>
#include <Inventor/SbRotation.h>
#include <Inventor/SbVec3f.h>

#include "tests/toolkit/toolkit_fixture.h"

namespace {

void ExpectMatrixNear(const float *m, const SbMatrix &expected) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i / 4][i % 4], 1e-5f) << "element " << i;
}

TEST_F(ToolkitTest, RotationsMatchCoin) {
  const SbVec3f axes[] = {{0, 1, 0}, {1, 2, 3}, {-1, 0, 0.5f}};
  for (const SbVec3f &axis : axes) {
    for (double angle : {0.3, 1.5707963, -2.5}) {
      float q[4], m[16];
      Kv_AngleAxis2Q(axis.getValue(), angle, q, 0);
      SbRotation rotation(axis, static_cast<float>(angle));
      const float *expected = rotation.getValue();
      for (int i = 0; i < 4; ++i) EXPECT_NEAR(q[i], expected[i], 1e-6f);
      Kv_Matrix_Q2RotationMatrix(q, m);
      SbMatrix coin;
      rotation.getValue(coin);
      ExpectMatrixNear(m, coin);
    }
  }
}

TEST_F(ToolkitTest, ProductsAndPointsMatchCoinAndMayAlias) {
  SbMatrix a, b;
  a.setTransform(SbVec3f(1, 2, 3), SbRotation(SbVec3f(0, 0, 1), 0.7f), SbVec3f(2, 2, 2));
  b.setTransform(SbVec3f(-4, 0, 1), SbRotation(SbVec3f(1, 1, 0), -1.1f), SbVec3f(1, 3, 1));
  float fa[16], fb[16];
  for (int i = 0; i < 16; ++i) fa[i] = a[i / 4][i % 4], fb[i] = b[i / 4][i % 4];
  Kv_Matrix_Multiply(1, fa, fb, fa);  // out aliases a
  SbMatrix product = a;
  product.multRight(b);
  ExpectMatrixNear(fa, product);

  float p[3] = {0.5f, -1, 2};
  SbVec3f expected;
  product.multVecMatrix(SbVec3f(p), expected);
  Kv_Vector_Transform(1, 1, 1, 1, 1, 1, p, fa, p);  // out aliases p
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(p[i], expected[i], 1e-4f);
}

// The importer's camera: C = M x R, C = C x T, points p x C.
TEST_F(ToolkitTest, CameraCompositionPutsTheEyeAtThePosition) {
  float axis[3] = {0, 1, 0}, q[4], r[16], model[16], c[16], t[16];
  Kv_AngleAxis2Q(axis, 1.5707963267948966, q, 0);  // a quarter turn: -Z looks along -X
  Kv_Matrix_Q2RotationMatrix(q, r);
  Kv_Matrix_Identity(model);
  Kv_Matrix_Multiply(1, model, r, c);
  Kv_Matrix_Identity(t);
  t[12] = 1, t[13] = 2, t[14] = 3;
  Kv_Matrix_Multiply(1, c, t, c);
  float eye[3], target[3] = {0, 0, -10};
  Kv_Vector_Zero(eye);
  Kv_Vector_Transform(1, 1, 1, 1, 1, 1, eye, c, eye);
  Kv_Vector_Transform(1, 1, 1, 1, 1, 1, target, c, target);
  const float expected_eye[3] = {1, 2, 3}, expected_target[3] = {-9, 2, 3};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(eye[i], expected_eye[i], 1e-5f);
    EXPECT_NEAR(target[i], expected_target[i], 1e-5f);
  }

  float up[3] = {0, 10, 0}, zero[3] = {0, 0, 0};
  Kv_Vector_Normalize(up);
  Kv_Vector_Normalize(zero);
  EXPECT_EQ(up[1], 1.0f);
  EXPECT_EQ(zero[0] + zero[1] + zero[2], 0.0f);
  EXPECT_TRUE(errors.empty());
}

}  // namespace
