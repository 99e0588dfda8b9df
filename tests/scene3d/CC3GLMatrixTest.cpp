#include <gtest/gtest.h>

#include <cmath>

#include "CC3GLArrayMatrix.h"
#include "CC3GLMatrix.h"
#include "CC3GLPointerMatrix.h"
#include "NSObject.h"
#include "TestSupport.h"

namespace {

void expectNear(CC3Vec3 actual, CC3Vec3 expected, float tolerance = 1e-5f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void expectIdentityContent(const GLfloat* m, float tolerance) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], i % 5 == 0 ? 1.0f : 0.0f, tolerance) << i;
}

void expectSameElements(const GLfloat* a, const GLfloat* b, float tolerance) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(a[i], b[i], tolerance) << "element " << i;
}

Ptr<CC3GLMatrix> rigidMatrix() {
  auto m = CC3GLMatrix::identity();
  m->translateBy(cc3v(4, -2, 7));
  m->rotateBy(cc3v(25, -60, 130));
  return m;
}

}  // namespace

TEST(CC3GLMatrixTest, ConstructorsPickStorageAndIdentityFlag) {
  auto zero = CC3GLMatrix::matrix();
  ASSERT_TRUE(zero);
  EXPECT_NE(dynamic_cast<CC3GLArrayMatrix*>(zero.get()), nullptr);
  EXPECT_FALSE(zero->isIdentity());
  for (int i = 0; i < 16; ++i) EXPECT_EQ(zero->glMatrix()[i], 0.0f);

  auto identity = CC3GLMatrix::identity();
  EXPECT_TRUE(identity->isIdentity());
  expectIdentityContent(identity->glMatrix(), 0);

  // Identity content copied from floats is not trusted as the identity.
  auto copied = CC3GLMatrix::matrixFromGLMatrix(identity->glMatrix());
  EXPECT_FALSE(copied->isIdentity());

  GLfloat outside[16] = {};
  auto onPointer = CC3GLMatrix::matrixOnGLMatrix(outside);
  EXPECT_NE(dynamic_cast<CC3GLPointerMatrix*>(onPointer.get()), nullptr);
  onPointer->populateFromTranslation(cc3v(1, 2, 3));
  EXPECT_EQ(outside[12], 1.0f);
  EXPECT_EQ(outside[14], 3.0f);
  EXPECT_FALSE(CC3GLMatrix::matrixOnGLMatrix(nullptr));

  // A copy of a pointer matrix owns its floats.
  auto copy = onPointer->copy();
  EXPECT_NE(dynamic_cast<CC3GLArrayMatrix*>(copy.get()), nullptr);
  copy->translateBy(cc3v(10, 0, 0));
  EXPECT_EQ(outside[12], 1.0f);
  EXPECT_EQ(copy->glMatrix()[12], 11.0f);
  EXPECT_TRUE(identity->copy()->isIdentity());

  auto elements =
      CC3GLMatrix::matrixWithElements({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
  for (int i = 0; i < 16; ++i) EXPECT_EQ(elements->glMatrix()[i], float(i));
  EXPECT_ASSERTION(CC3GLMatrix::matrixWithElements({1, 2, 3}),
                   "A matrix needs exactly 16 elements");
}

TEST(CC3GLMatrixTest, DescriptionPrintsRows) {
  auto m =
      CC3GLMatrix::matrixWithElements({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15.5f});
  EXPECT_EQ(m->description(),
            "\n\t[0.000, 4.000, 8.000, 12.000,\n\t 1.000, 5.000, 9.000, 13.000,\n\t 2.000, "
            "6.000, 10.000, 14.000,\n\t 3.000, 7.000, 11.000, 15.500]");
}

TEST(CC3GLMatrixTest, IdentityFlagFollowsContentChanges) {
  auto m = CC3GLMatrix::identity();
  m->translateBy(kCC3Vec3Zero);
  m->rotateBy(kCC3Vec3Zero);
  m->scaleBy(kCC3Vec3Unit);
  m->rotateByX(0);
  m->scaleUniformlyBy(1);
  m->translateBy(kCC3Vec3Zero, kCC3Vec3Zero, kCC3Vec3Unit);
  m->rotateByQuaternion(kCC3QuaternionIdentity);
  EXPECT_TRUE(m->isIdentity());

  m->scaleByY(2);
  EXPECT_FALSE(m->isIdentity());
  EXPECT_EQ(m->glMatrix()[5], 2.0f);

  // Neutral populations yield the identity and say so.
  m->populateFromTranslation(kCC3Vec3Zero);
  EXPECT_TRUE(m->isIdentity());
  m->populateFromRotation(cc3v(0, 0, 10));
  EXPECT_FALSE(m->isIdentity());
  m->populateFromScale(kCC3Vec3Unit);
  EXPECT_TRUE(m->isIdentity());
  expectIdentityContent(m->glMatrix(), 0);
  m->populateZero();
  EXPECT_FALSE(m->isIdentity());
  m->populateFromQuaternion(kCC3QuaternionIdentity);
  EXPECT_TRUE(m->isIdentity());
  expectIdentityContent(m->glMatrix(), 0);

  auto other = CC3GLMatrix::matrix();
  other->populateFrom(m);
  EXPECT_TRUE(other->isIdentity());
  m->populateFromGLMatrix(other->glMatrix());
  EXPECT_FALSE(m->isIdentity());

  // Inverting and transposing a non-identity matrix keeps the flag clear.
  m->populateFromTranslation(cc3v(1, 0, 0));
  EXPECT_TRUE(m->invert());
  m->transpose();
  m->invertRigid();
  EXPECT_FALSE(m->isIdentity());
}

TEST(CC3GLMatrixTest, IdentityShortcutsSkipTheWork) {
  GLfloat outside[16];
  auto m = CC3GLMatrix::matrixOnGLMatrix(outside);
  m->populateIdentity();
  // The flag is trusted: content changed behind its back is not looked at.
  outside[12] = 100;
  EXPECT_EQ(m->transformLocation(cc3v(1, 2, 3)), cc3v(1, 2, 3));
  EXPECT_EQ(m->transformHomogeneousVector(CC3Vec4Make(1, 2, 3, 1)), CC3Vec4Make(1, 2, 3, 1));
  EXPECT_TRUE(m->invert());
  m->transpose();
  EXPECT_EQ(outside[12], 100.0f);
  EXPECT_EQ(outside[3], 0.0f);

  // Multiplying by the identity leaves the matrix and its flag as they were.
  auto t = CC3GLMatrix::identity();
  t->translateBy(cc3v(1, 2, 3));
  GLfloat before[16];
  CC3GLMatrix::copyMatrix(t->glMatrix(), before);
  t->multiplyByMatrix(CC3GLMatrix::identity());
  EXPECT_FALSE(t->isIdentity());
  expectSameElements(t->glMatrix(), before, 0);

  // An identity matrix multiplied by another becomes a copy of it.
  auto i = CC3GLMatrix::identity();
  i->multiplyByMatrix(t);
  EXPECT_FALSE(i->isIdentity());
  expectSameElements(i->glMatrix(), before, 0);
}

TEST(CC3GLMatrixTest, SingleAxisRotationsMapAxes) {
  auto m = CC3GLMatrix::matrix();
  m->populateFromRotation(cc3v(90, 0, 0));
  expectNear(m->transformDirection(kCC3Vec3UnitYPositive), kCC3Vec3UnitZPositive);
  m->populateFromRotation(cc3v(0, 90, 0));
  expectNear(m->transformDirection(kCC3Vec3UnitZPositive), kCC3Vec3UnitXPositive);
  m->populateFromRotation(cc3v(0, 0, 90));
  expectNear(m->transformDirection(kCC3Vec3UnitXPositive), kCC3Vec3UnitYPositive);

  // Order Y*X*Z: z first, then x, then y. (90, 90, 0) takes y to z, then z to x.
  m->populateFromRotation(cc3v(90, 90, 0));
  expectNear(m->transformDirection(kCC3Vec3UnitYPositive), kCC3Vec3UnitXPositive);
  // (90, 0, 90): x to y, then y to z.
  m->populateFromRotation(cc3v(90, 0, 90));
  expectNear(m->transformDirection(kCC3Vec3UnitXPositive), kCC3Vec3UnitZPositive);
}

TEST(CC3GLMatrixTest, AccumulatedTransformsApplyNewestFirst) {
  auto m = CC3GLMatrix::identity();
  m->translateBy(cc3v(1, 2, 3));
  m->rotateBy(cc3v(0, 90, 0));
  expectNear(m->transformLocation(kCC3Vec3Zero), cc3v(1, 2, 3));
  expectNear(m->transformLocation(cc3v(0, 0, 1)), cc3v(2, 2, 3));

  m->scaleBy(cc3v(2, 3, 4));
  expectNear(m->transformLocation(cc3v(0, 0, 1)), cc3v(5, 2, 3));
  expectNear(m->transformDirection(cc3v(0, 1, 0)), cc3v(0, 3, 0));

  // The one-step form equals the three steps; so do the per-axis forms.
  auto trs = CC3GLMatrix::identity();
  trs->rotateByZ(30);
  auto steps = trs->copy();
  trs->translateBy(cc3v(1, -2, 3), cc3v(10, 20, 30), cc3v(2, 0.5f, 1.5f));
  steps->translateBy(cc3v(1, -2, 3));
  steps->rotateBy(cc3v(10, 20, 30));
  steps->scaleBy(cc3v(2, 0.5f, 1.5f));
  expectSameElements(trs->glMatrix(), steps->glMatrix(), 1e-5f);

  auto fromIdentity = CC3GLMatrix::identity();
  fromIdentity->translateBy(cc3v(1, -2, 3), cc3v(10, 20, 30), cc3v(2, 0.5f, 1.5f));
  auto viaSteps = CC3GLMatrix::identity();
  viaSteps->translateBy(cc3v(1, -2, 3));
  viaSteps->rotateBy(cc3v(10, 20, 30));
  viaSteps->scaleBy(cc3v(2, 0.5f, 1.5f));
  expectSameElements(fromIdentity->glMatrix(), viaSteps->glMatrix(), 1e-5f);

  auto axes = CC3GLMatrix::identity();
  axes->translateByX(1);
  axes->rotateByY(20);
  axes->rotateByX(10);
  axes->rotateByZ(30);
  auto euler = CC3GLMatrix::identity();
  euler->translateBy(cc3v(1, 0, 0));
  euler->rotateBy(cc3v(10, 20, 30));
  expectSameElements(axes->glMatrix(), euler->glMatrix(), 1e-5f);
}

TEST(CC3GLMatrixTest, MultiplyIsSelfTimesOther) {
  auto a = CC3GLMatrix::matrixWithElements({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
  auto b = CC3GLMatrix::matrixWithElements({2, 0, 0, 0, 0, 1, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1});
  a->multiplyByMatrix(b);
  // Column 0 is 2 * a.col0; column 2 is a.col0 + a.col2; the others stay.
  GLfloat expected[16] = {2, 4, 6, 8, 5, 6, 7, 8, 10, 12, 14, 16, 13, 14, 15, 16};
  expectSameElements(a->glMatrix(), expected, 0);
  // Multiplying by itself must not read half-written results.
  auto c = CC3GLMatrix::matrixWithElements({1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  CC3GLMatrix::multiplyByMatrix(c->glMatrix(), c->glMatrix());
  EXPECT_EQ(c->glMatrix()[1], 2.0f);
}

TEST(CC3GLMatrixTest, EulerRoundTripsAwayFromThePoles) {
  auto m = CC3GLMatrix::matrix();
  m->populateFromRotation(cc3v(30, 40, 50));
  expectNear(m->extractRotation(), cc3v(30, 40, 50), 1e-3f);

  for (float x = -80; x <= 80; x += 20) {
    for (float y = -170; y <= 170; y += 34) {
      for (float z = -170; z <= 170; z += 34) {
        m->populateFromRotation(cc3v(x, y, z));
        expectNear(m->extractRotation(), cc3v(x, y, z), 2e-3f);
        GLfloat zyx[16];
        CC3GLMatrix::populateFromRotationZYX(zyx, cc3v(y, x, z));
        expectNear(CC3GLMatrix::extractRotationZYXFromMatrix(zyx), cc3v(y, x, z), 2e-3f);
      }
    }
  }
}

TEST(CC3GLMatrixTest, EulerExtractionAtThePoles) {
  auto m = CC3GLMatrix::matrix();
  // At x = +-90 only y - z (or y + z) is defined; it all goes to y.
  m->populateFromRotation(cc3v(90, 50, 20));
  CC3Vec3 r = m->extractRotation();
  EXPECT_FLOAT_EQ(r.x, 90);
  EXPECT_NEAR(r.y, 30, 1e-3f);
  EXPECT_EQ(r.z, 0);
  m->populateFromRotation(cc3v(-90, 50, 20));
  r = m->extractRotation();
  EXPECT_FLOAT_EQ(r.x, -90);
  EXPECT_NEAR(r.y, 70, 1e-3f);
  // Either way, the extracted angles rebuild the same rotation.
  auto rebuilt = CC3GLMatrix::matrix();
  rebuilt->populateFromRotation(r);
  expectSameElements(rebuilt->glMatrix(), m->glMatrix(), 1e-4f);
}

TEST(CC3GLMatrixTest, QuaternionsUseTheTransposedConvention) {
  float h = std::sqrt(0.5f);
  auto m = CC3GLMatrix::matrix();
  // (0, 0, sin 45, cos 45) turns x to -y here, the reverse of the usual reading.
  m->populateFromQuaternion(CC3QuaternionMake(0, 0, h, h));
  expectNear(m->transformDirection(kCC3Vec3UnitXPositive), kCC3Vec3UnitYNegative);
  // And an Euler z rotation of 90 degrees reads back as the opposite quaternion.
  m->populateFromRotation(cc3v(0, 0, 90));
  CC3Quaternion q = m->extractQuaternion();
  EXPECT_NEAR(q.x, 0, 1e-6f);
  EXPECT_NEAR(q.y, 0, 1e-6f);
  EXPECT_NEAR(q.z, -h, 1e-6f);
  EXPECT_NEAR(q.w, h, 1e-6f);
  // rotateByQuaternion multiplies by the same matrix.
  auto r = CC3GLMatrix::identity();
  r->translateBy(cc3v(1, 2, 3));
  r->rotateByQuaternion(CC3QuaternionMake(0, 0, h, h));
  expectNear(r->transformLocation(kCC3Vec3UnitXPositive), cc3v(1, 1, 3));
  // The all-zero quaternion gives the identity by the same formula.
  m->populateFromQuaternion(kCC3Vec4Zero);
  expectIdentityContent(m->glMatrix(), 0);
}

TEST(CC3GLMatrixTest, QuaternionRoundTripsThroughEveryBranch) {
  // Rotations chosen to exercise the trace branch and each of the x, y, z
  // branches (half turns about each axis have a negative trace).
  CC3Quaternion cases[] = {
      CC3Vec4Normalize(CC3QuaternionMake(0.1f, 0.2f, 0.3f, 0.9f)),
      CC3QuaternionMake(1, 0, 0, 0),
      CC3QuaternionMake(0, 1, 0, 0),
      CC3QuaternionMake(0, 0, 1, 0),
      CC3Vec4Normalize(CC3QuaternionMake(0.9f, 0.3f, -0.2f, 0.1f)),
      CC3Vec4Normalize(CC3QuaternionMake(-0.2f, 0.8f, 0.4f, 0.05f)),
      CC3Vec4Normalize(CC3QuaternionMake(0.3f, -0.1f, 0.85f, -0.2f)),
  };
  auto m = CC3GLMatrix::matrix();
  for (CC3Quaternion q : cases) {
    m->populateFromQuaternion(q);
    CC3Quaternion back = m->extractQuaternion();
    // q and -q are the same rotation.
    float sign = CC3Vec4Dot(q, back) < 0 ? -1.0f : 1.0f;
    EXPECT_NEAR(back.x * sign, q.x, 1e-5f) << NSStringFromCC3Vec4(q);
    EXPECT_NEAR(back.y * sign, q.y, 1e-5f) << NSStringFromCC3Vec4(q);
    EXPECT_NEAR(back.z * sign, q.z, 1e-5f) << NSStringFromCC3Vec4(q);
    EXPECT_NEAR(back.w * sign, q.w, 1e-5f) << NSStringFromCC3Vec4(q);
  }
  // With a non-positive trace one root is always at least 1, so only a
  // broken matrix has no usable branch; it gives zero, not NaNs.
  GLfloat broken[16];
  for (GLfloat& f : broken) f = std::nanf("");
  EXPECT_EQ(CC3GLMatrix::extractQuaternion(broken), kCC3Vec4Zero);
}

TEST(CC3GLMatrixTest, InversionsUndoTheMatrix) {
  auto general = CC3GLMatrix::identity();
  general->translateBy(cc3v(3, -1, 2));
  general->rotateBy(cc3v(15, 70, -40));
  general->scaleBy(cc3v(2, 0.5f, 3));
  general->glMatrix()[3] = 0.25f;  // not affine
  auto inverse = general->copy();
  ASSERT_TRUE(inverse->invert());
  inverse->multiplyByMatrix(general);
  expectIdentityContent(inverse->glMatrix(), 1e-5f);

  // Pivoting handles a zero on the diagonal (a permutation).
  auto permutation =
      CC3GLMatrix::matrixWithElements({0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1});
  auto undone = permutation->copy();
  ASSERT_TRUE(undone->invert());
  undone->multiplyByMatrix(permutation);
  expectIdentityContent(undone->glMatrix(), 0);

  // Affine and rigid inversions agree with the general one on a rigid matrix.
  auto rigid = rigidMatrix();
  auto byGeneral = rigid->copy(), byAffine = rigid->copy(), byRigid = rigid->copy();
  ASSERT_TRUE(byGeneral->invert());
  ASSERT_TRUE(byAffine->invertAffine());
  byRigid->invertRigid();
  expectSameElements(byAffine->glMatrix(), byGeneral->glMatrix(), 1e-5f);
  expectSameElements(byRigid->glMatrix(), byGeneral->glMatrix(), 1e-5f);
  expectNear(byRigid->transformLocation(rigid->transformLocation(cc3v(5, 6, 7))), cc3v(5, 6, 7),
             1e-4f);

  // With a projective bottom row, invertAffine inverts fully, then forces the row.
  auto projective = general->copy();
  auto expected = general->copy();
  ASSERT_TRUE(expected->invert());
  ASSERT_TRUE(projective->invertAffine());
  const GLfloat* p = projective->glMatrix();
  EXPECT_EQ(p[3], 0.0f);
  EXPECT_EQ(p[7], 0.0f);
  EXPECT_EQ(p[11], 0.0f);
  EXPECT_EQ(p[15], 1.0f);
  for (int i : {0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14}) {
    EXPECT_NEAR(p[i], expected->glMatrix()[i], 1e-5f);
  }
}

TEST(CC3GLMatrixTest, SingularMatricesFailAndStayUnchanged) {
  auto m = CC3GLMatrix::identity();
  m->translateBy(cc3v(1, 2, 3));
  m->rotateBy(cc3v(10, 20, 30));
  for (int j = 0; j < 4; ++j) m->glMatrix()[4 + j] = 0;  // zero column
  GLfloat before[16];
  CC3GLMatrix::copyMatrix(m->glMatrix(), before);
  EXPECT_FALSE(m->invert());
  expectSameElements(m->glMatrix(), before, 0);
  EXPECT_FALSE(m->invertAffine());
  expectSameElements(m->glMatrix(), before, 0);

  auto zero = CC3GLMatrix::matrix();
  EXPECT_FALSE(zero->invert());
  GLfloat nan[16];
  for (GLfloat& f : nan) f = std::nanf("");
  EXPECT_FALSE(CC3GLMatrix::invert(nan));
}

TEST(CC3GLMatrixTest, LookAtPointTowardsAndDirections) {
  auto view = CC3GLMatrix::matrix();
  CC3Vec3 eye = cc3v(3, 4, 10), target = cc3v(-2, 1, -5);
  view->populateToLookAt(target, eye, kCC3Vec3UnitYPositive);
  expectNear(view->transformLocation(eye), kCC3Vec3Zero, 1e-5f);
  expectNear(view->transformLocation(target), cc3v(0, 0, -CC3Vec3Distance(eye, target)), 1e-4f);
  // Up stays up: a point above the eye lands in the upper half.
  EXPECT_GT(view->transformLocation(cc3v(3, 5, 10)).y, 0.0f);

  auto point = CC3GLMatrix::matrix();
  point->populateToPointTowards(cc3v(5, 0, 0), kCC3Vec3UnitYPositive);
  expectNear(point->transformDirection(kCC3Vec3UnitZNegative), kCC3Vec3UnitXPositive);
  expectNear(point->extractForwardDirection(), kCC3Vec3UnitXPositive);
  expectNear(point->extractUpDirection(), kCC3Vec3UnitYPositive);
  expectNear(point->extractRightDirection(), kCC3Vec3UnitZPositive);
}

TEST(CC3GLMatrixTest, FrustumMapsNearAndFarPlanes) {
  auto m = CC3GLMatrix::matrix();
  float l = -2, r = 3, b = -1, t = 1.5f, n = 0.5f, f = 100;
  m->populateFromFrustumLeft(l, r, b, t, n, f);
  EXPECT_FLOAT_EQ(m->glMatrix()[0], 2 * n / (r - l));
  EXPECT_FLOAT_EQ(m->glMatrix()[11], -1);
  EXPECT_EQ(m->glMatrix()[15], 0);
  expectNear(m->transformLocation(cc3v(l, b, -n)), cc3v(-1, -1, -1), 1e-5f);
  expectNear(m->transformLocation(cc3v(r, t, -n)), cc3v(1, 1, -1), 1e-5f);
  // The far corners: the near corners scaled out by f / n.
  expectNear(m->transformLocation(cc3v(l * f / n, t * f / n, -f)), cc3v(-1, 1, 1), 1e-4f);
  EXPECT_NEAR(m->transformLocation(cc3v(0, 0, -f)).z, 1, 1e-5f);
}

TEST(CC3GLMatrixTest, MatricesAreReleased) {
  std::int64_t before = NSObject::liveObjectCount();
  {
    auto a = CC3GLMatrix::identity();
    auto b = a->copy();
    GLfloat outside[16];
    auto c = CC3GLMatrix::matrixOnGLMatrix(outside);
    c->populateFrom(b);
  }
  EXPECT_EQ(NSObject::liveObjectCount(), before);
}
