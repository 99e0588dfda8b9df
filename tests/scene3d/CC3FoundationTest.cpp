#include <gtest/gtest.h>

#include <cmath>

#include "CC3Foundation.h"
#include "Random.h"

namespace {

void expectNear(CC3Vec3 actual, CC3Vec3 expected, float tolerance = 1e-5f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void expectNear(CC3Vec4 actual, CC3Vec4 expected, float tolerance = 1e-5f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
  EXPECT_NEAR(actual.w, expected.w, tolerance);
}

}  // namespace

TEST(CC3FoundationTest, VectorArithmetic) {
  CC3Vec3 a = cc3v(1, -2, 4), b = cc3v(3, 5, -1);
  EXPECT_EQ(CC3Vec3Add(a, b), cc3v(4, 3, 3));
  EXPECT_EQ(CC3Vec3Difference(a, b), cc3v(-2, -7, 5));
  EXPECT_EQ(CC3Vec3Scale(a, b), cc3v(3, -10, -4));
  EXPECT_EQ(CC3Vec3ScaleUniform(a, 2), cc3v(2, -4, 8));
  EXPECT_EQ(CC3Vec3Minimize(a, b), cc3v(1, -2, -1));
  EXPECT_EQ(CC3Vec3Maximize(a, b), cc3v(3, 5, 4));
  EXPECT_EQ(CC3Vec3Negate(a), cc3v(-1, 2, -4));
  EXPECT_EQ(CC3Vec3Invert(cc3v(2, -4, 0.5f)), cc3v(0.5f, -0.25f, 2));
  EXPECT_FLOAT_EQ(CC3Vec3Dot(a, b), 3 - 10 - 4);
  // Right-handed: x cross y is z, and the general case by hand.
  EXPECT_EQ(CC3Vec3Cross(kCC3Vec3UnitXPositive, kCC3Vec3UnitYPositive), kCC3Vec3UnitZPositive);
  EXPECT_EQ(CC3Vec3Cross(a, b), cc3v(-2 * -1 - 4 * 5, 4 * 3 - 1 * -1, 1 * 5 - -2 * 3));
  EXPECT_FLOAT_EQ(CC3Vec3Length(cc3v(2, 3, 6)), 7);
  EXPECT_FLOAT_EQ(CC3Vec3Distance(cc3v(1, 1, 1), cc3v(3, 4, 7)), 7);
}

TEST(CC3FoundationTest, NormalizeKeepsZeroVectorsAndScalesOthers) {
  EXPECT_EQ(CC3Vec3Normalize(kCC3Vec3Zero), kCC3Vec3Zero);
  expectNear(CC3Vec3Normalize(cc3v(3, 0, -4)), cc3v(0.6f, 0, -0.8f));
  EXPECT_EQ(CC3Vec4Normalize(kCC3Vec4Zero), kCC3Vec4Zero);
  expectNear(CC3PlaneNormalize(CC3PlaneMake(0, 3, 4, 10)), CC3PlaneMake(0, 0.6f, 0.8f, 2));
}

TEST(CC3FoundationTest, LerpReturnsEndPointsExactly) {
  // With these magnitudes a + (b - a) * 1 loses b entirely in float.
  CC3Vec3 a = cc3v(1e8f, -1e8f, 3), b = cc3v(1, 1, 1);
  EXPECT_EQ(CC3Vec3Lerp(a, b, 0), a);
  EXPECT_EQ(CC3Vec3Lerp(a, b, 1), b);
  EXPECT_EQ(CC3Vec3Lerp(cc3v(0, 10, -2), cc3v(4, 20, 2), 0.25f), cc3v(1, 12.5f, -1));
}

TEST(CC3FoundationTest, RotationalDifferenceWrapsIntoHalfTurns) {
  EXPECT_EQ(CC3Vec3RotationalDifference(cc3v(350, 10, 180), cc3v(10, 350, 0)), cc3v(-20, 20, 180));
  EXPECT_EQ(CC3Vec3RotationalDifference(cc3v(-90, 0, 45), cc3v(90, 0, -45)), cc3v(-180, 0, 90));
}

TEST(CC3FoundationTest, HomogeneousConversion) {
  EXPECT_EQ(CC3Vec3FromHomogenizedCC3Vec4(CC3Vec4Make(2, 4, 6, 2)), cc3v(1, 2, 3));
  EXPECT_EQ(CC3Vec3FromHomogenizedCC3Vec4(CC3Vec4Make(2, 4, 6, 0)), cc3v(2, 4, 6));
  EXPECT_EQ(CC3Vec4FromCC3Vec3(cc3v(1, 2, 3), 7), CC3Vec4Make(1, 2, 3, 7));
}

TEST(CC3FoundationTest, PlanesAndRays) {
  // Counter-clockwise seen from +z: normal +z; the plane z = 5.
  CC3Plane p = CC3PlaneFromPoints(cc3v(0, 0, 5), cc3v(1, 0, 5), cc3v(1, 1, 5));
  expectNear(p, CC3PlaneMake(0, 0, 1, -5));
  EXPECT_FLOAT_EQ(CC3DistanceFromNormalizedPlane(p, cc3v(3, -2, 7)), 2);
  EXPECT_FLOAT_EQ(CC3DistanceFromNormalizedPlane(p, cc3v(0, 0, 1)), -4);

  CC3Vec4 hit = CC3RayIntersectionWithPlane({cc3v(1, 2, 10), cc3v(0, 0, -2)}, p);
  expectNear(hit, CC3Vec4Make(1, 2, 5, 2.5f));
  // Behind the start the parameter goes negative rather than being dropped.
  hit = CC3RayIntersectionWithPlane({cc3v(0, 0, 1), cc3v(0, 0, -1)}, p);
  expectNear(hit, CC3Vec4Make(0, 0, 5, -4));
  EXPECT_EQ(CC3RayIntersectionWithPlane({cc3v(0, 0, 1), cc3v(1, 1, 0)}, p), kCC3Vec4Zero);
}

TEST(CC3FoundationTest, ColourBlendAndConversion) {
  ccColor4F start{0, 0.5f, 1, 1}, end{1, 0.5f, 0, 0};
  EXPECT_EQ(CCC4FBlend(start, end, 0.25f), (ccColor4F{0.25f, 0.5f, 0.75f, 0.75f}));
  EXPECT_EQ(CCC4FBlend(start, end, 3), end);
  EXPECT_EQ(CCC4FBlend(start, end, -1), start);
  EXPECT_EQ(CCColorByteFromFloat(1.0f), 255);
  EXPECT_EQ(CCColorByteFromFloat(0.999f), 254);  // truncated, not rounded
  EXPECT_FLOAT_EQ(CCColorFloatFromByte(51), 0.2f);
  EXPECT_EQ(CCC4BFromCCC4F(CCC4FFromCCC4B(ccColor4B{0, 0, 3, 255})).a, 255);
}

TEST(CC3FoundationTest, SlerpEndPointsMidpointAndShortPath) {
  CC3Quaternion q1 = kCC3QuaternionIdentity;
  float h = std::sqrt(0.5f);
  CC3Quaternion q2 = CC3QuaternionMake(0, 0, h, h);  // quarter turn about z
  CC3Quaternion unnormalised = CC3QuaternionMake(0, 0, 2, 2);
  EXPECT_EQ(CC3QuaternionSlerp(q1, unnormalised, 0), q1);
  EXPECT_EQ(CC3QuaternionSlerp(q1, unnormalised, 1), unnormalised);

  CC3Quaternion eighth = CC3QuaternionMake(0, 0, std::sin(M_PI / 8), std::cos(M_PI / 8));
  expectNear(CC3QuaternionSlerp(q1, q2, 0.5f), eighth);
  // -q2 is the same rotation: interpolation must not take the long way round.
  expectNear(CC3QuaternionSlerp(q1, CC3Vec4Negate(q2), 0.5f), eighth);
  // Nearly equal quaternions fall back to a normalised linear blend.
  CC3Quaternion near = CC3Vec4Normalize(CC3QuaternionMake(0, 0, 0.01f, 1));
  CC3Quaternion mid = CC3QuaternionSlerp(q1, near, 0.5f);
  EXPECT_NEAR(CC3Vec4Length(mid), 1.0f, 1e-6f);
  EXPECT_GT(mid.z, 0.0f);
  EXPECT_LT(mid.z, near.z);
}

TEST(CC3FoundationTest, RandomFloatStaysInRangeAndRepeatsWithSeed) {
  Random::seed(42);
  float first[50];
  for (float& f : first) {
    f = CC3RandomFloatBetween(-3, 5);
    EXPECT_GE(f, -3.0f);
    EXPECT_LT(f, 5.0f);
  }
  Random::seed(42);
  for (float f : first) EXPECT_EQ(CC3RandomFloatBetween(-3, 5), f);
  float lowest = 5, highest = -3;
  for (int i = 0; i < 2000; ++i) {
    float f = CC3RandomFloatBetween(-3, 5);
    lowest = std::fmin(lowest, f);
    highest = std::fmax(highest, f);
  }
  // The whole range is reached, not half of it.
  EXPECT_LT(lowest, -2.5f);
  EXPECT_GT(highest, 4.5f);
}

TEST(CC3FoundationTest, StringForms) {
  EXPECT_EQ(NSStringFromCC3Vec3(cc3v(1, -2.5f, 1.0f / 3)), "(1.000, -2.500, 0.333)");
  EXPECT_EQ(NSStringFromCC3Vec4(CC3Vec4Make(0, 0.1234f, -7, 1)), "(0.000, 0.123, -7.000, 1.000)");
  EXPECT_EQ(NSStringFromCCC4F(ccColor4F{1, 0.5f, 0.126f, 0}), "(1.00, 0.50, 0.13, 0.00)");
}
