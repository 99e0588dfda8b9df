#include "CC3Rotator.h"

#include <gtest/gtest.h>

#include "CC3DirectionalRotator.h"
#include "CC3NodeTestSupport.h"

TEST(CC3RotatorTest, RepresentationsConvertOnlyWhenRead) {
  LeakScope leaks;
  auto r = CC3Rotator::rotator();
  EXPECT_EQ(r->quaternion(), kCC3Vec4Zero);  // all zero, not the identity quaternion
  EXPECT_TRUE(r->rotationMatrix()->isIdentity());

  r->setRotation({0, 90, 0});
  EXPECT_TRUE(r->isQuaternionDirty());
  EXPECT_TRUE(r->isMatrixDirtyByRotation());
  EXPECT_FALSE(r->isMatrixDirtyByQuaternion());
  // About y by 90 degrees: (0, 0, 1) goes to (1, 0, 0).
  EXPECT_VEC3_NEAR(r->rotationMatrix()->transformDirection({0, 0, 1}), cc3v(1, 0, 0), 1e-6);
  EXPECT_FALSE(r->isMatrixDirtyByRotation());
  CC3Quaternion q = r->quaternion();
  EXPECT_FALSE(r->isQuaternionDirty());

  // A quaternion set last wins over the angles, which are then re-derived.
  auto other = CC3Rotator::rotator();
  other->setQuaternion(q);
  EXPECT_TRUE(other->isRotationDirty());
  EXPECT_VEC3_NEAR(other->rotation(), cc3v(0, 90, 0), 1e-3);
  EXPECT_VEC3_NEAR(other->rotationMatrix()->transformDirection({0, 0, 1}), cc3v(1, 0, 0), 1e-5);

  auto m = CC3GLMatrix::identity();
  m->rotateByZ(30);
  r->setRotationMatrix(m);
  EXPECT_EQ(r->rotationMatrix(), m.get());
  EXPECT_VEC3_NEAR(r->rotation(), cc3v(0, 0, 30), 1e-4);

  // A copy turns on its own.
  auto copy = r->copy();
  copy->setRotation({10, 0, 0});
  EXPECT_VEC3_NEAR(r->rotation(), cc3v(0, 0, 30), 1e-4);
  EXPECT_NE(copy->rotationMatrix(), r->rotationMatrix());
  // Describing converts the stale forms; the engine's quaternions run the other way round.
  auto turned = CC3Rotator::rotator();
  turned->setRotation({0, 0, 30});
  std::string text = turned->description();
  EXPECT_EQ(text.rfind("CC3Rotator: (0.000, 0.000, 30.000), quaternion: (", 0), 0u) << text;
  EXPECT_NE(text.find("0.000, -0.259, 0.966)"), std::string::npos) << text;
}

TEST(CC3RotatorTest, DirectionSetLastRebuildsTheMatrixOnRead) {
  LeakScope leaks;
  auto r = CC3DirectionalRotator::rotator();
  EXPECT_EQ(r->forwardDirection(), cc3v(0, 0, -1));
  EXPECT_EQ(r->upDirection(), cc3v(0, 1, 0));
  EXPECT_EQ(r->rightDirection(), kCC3Vec3Zero);

  r->setForwardDirection({3, 0, 0});
  EXPECT_EQ(r->forwardDirection(), cc3v(1, 0, 0));  // stored normalised
  EXPECT_TRUE(r->isMatrixDirtyByDirection());
  EXPECT_TRUE(r->isRotationDirty());
  // Before the matrix is rebuilt the old up and right directions stand.
  EXPECT_EQ(r->upDirection(), cc3v(0, 1, 0));
  EXPECT_EQ(r->rightDirection(), kCC3Vec3Zero);
  r->rotationMatrix();
  EXPECT_FALSE(r->isMatrixDirtyByDirection());
  EXPECT_VEC3_NEAR(r->upDirection(), cc3v(0, 1, 0), 1e-6);
  EXPECT_VEC3_NEAR(r->rightDirection(), cc3v(0, 0, 1), 1e-6);
  // Looking along +x is a turn of -90 degrees about y.
  EXPECT_VEC3_NEAR(r->rotation(), cc3v(0, -90, 0), 1e-3);

  // Angles set last make the directions come from the matrix.
  r->setRotation({0, 180, 0});
  EXPECT_TRUE(r->isForwardDirectionDirty());
  EXPECT_FALSE(r->isMatrixDirtyByDirection());
  EXPECT_VEC3_NEAR(r->forwardDirection(), cc3v(0, 0, 1), 1e-6);

  r->setForwardDirection(kCC3Vec3Zero);
  EXPECT_EQ(r->forwardDirection(), kCC3Vec3Zero);  // a zero direction stays zero

  r->setWorldUpDirection({0, 0, 2});
  EXPECT_EQ(r->worldUpDirection(), cc3v(0, 0, 1));
  EXPECT_TRUE(r->isUpDirectionDirty());

  auto copy = r->copy();
  auto* directional = dynamic_cast<CC3DirectionalRotator*>(copy.get());
  ASSERT_NE(directional, nullptr);
  EXPECT_EQ(directional->worldUpDirection(), cc3v(0, 0, 1));
  EXPECT_TRUE(directional->isMatrixDirtyByDirection());
}
