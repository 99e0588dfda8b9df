#include "CC3NodeAnimation.h"

#include <gtest/gtest.h>

#include "CC3Node.h"
#include "CC3NodeTestSupport.h"
#include "TestSupport.h"

namespace {

// Ten frames whose x location is ten times the frame index.
Ptr<CC3ArrayNodeAnimation> tenFrames() {
  auto anim = CC3ArrayNodeAnimation::animationWithFrameCount(10);
  CC3Vec3* locations = anim->allocateLocations();
  for (int i = 0; i < 10; ++i) locations[i] = {10.0f * i, 0, 0};
  return anim;
}

float xAt(CC3NodeAnimation* anim, float t) {
  auto node = CC3Node::node();
  anim->establishFrameAt(t, node);
  return node->location().x;
}

}  // namespace

TEST(CC3NodeAnimationTest, FrameSelectionSnapsNearKeyFrames) {
  LeakScope leaks;
  auto anim = tenFrames();
  EXPECT_FLOAT_EQ(xAt(anim, 0.5f), 50);     // frame 5
  EXPECT_NEAR(xAt(anim, 0.53f), 53, 1e-4);  // frame 5, 0.3 on
  EXPECT_FLOAT_EQ(xAt(anim, 0.505f), 50);   // 0.05 past frame 5 is frame 5
  EXPECT_FLOAT_EQ(xAt(anim, 0.595f), 60);   // 0.05 short of frame 6 is frame 6
  EXPECT_FLOAT_EQ(xAt(anim, 1), 90);        // the last frame
  EXPECT_FLOAT_EQ(xAt(anim, 0), 0);
  anim->setShouldInterpolate(false);
  EXPECT_FLOAT_EQ(xAt(anim, 0.58f), 50);

  EXPECT_EQ(anim->locationAtFrame(42), cc3v(90, 0, 0));  // clamped to the last
  auto node = CC3Node::node();
  EXPECT_ASSERTION(anim->establishFrameAt(1.5f, node),
                   "CC3ArrayNodeAnimation animation frame time 1.500000 must be between 0.0 and "
                   "1.0");
  EXPECT_ASSERTION(anim->establishFrameAt(-0.1f, node),
                   "CC3ArrayNodeAnimation animation frame time -0.100000 must be between 0.0 "
                   "and 1.0");
}

TEST(CC3NodeAnimationTest, OnlyCarriedTracksAreSet) {
  LeakScope leaks;
  auto anim = CC3ArrayNodeAnimation::animationWithFrameCount(2);
  CC3Quaternion* q = anim->allocateQuaternions();
  EXPECT_EQ(q[0], kCC3QuaternionIdentity);
  q[1] = {0, 0.70710677f, 0, 0.70710677f};
  CC3Vec3* scales = anim->allocateScales();
  EXPECT_EQ(scales[1], kCC3Vec3Unit);
  scales[1] = {3, 3, 3};
  EXPECT_FALSE(anim->isAnimatingLocation());
  EXPECT_TRUE(anim->isAnimatingQuaternion());

  auto node = CC3Node::node();
  node->setLocation({7, 7, 7});
  anim->establishFrame(0, 0.5f, node);
  EXPECT_EQ(node->location(), cc3v(7, 7, 7));
  EXPECT_VEC3_NEAR(node->scale(), cc3v(2, 2, 2), 1e-6);
  CC3Quaternion half = node->quaternion();
  EXPECT_NEAR(CC3Vec4Length(half), 1, 1e-6);  // slerp, normalised
  EXPECT_NEAR(half.y, 0.38268343f, 1e-5);     // a quarter turn halved
  anim->establishFrame(0, 1, node);
  EXPECT_EQ(node->quaternion(), q[1]);

  // Arrays given from outside are referenced, not freed by the animation.
  CC3Vec3 external[2] = {{1, 0, 0}, {2, 0, 0}};
  anim->setAnimatedLocations(external);
  anim->setAnimatedScales(nullptr);
  EXPECT_FALSE(anim->isAnimatingScale());
  anim->establishFrame(1, 0, node);
  EXPECT_EQ(node->location(), cc3v(2, 0, 0));
  anim->deallocateLocations();  // not owned: kept
  EXPECT_EQ(anim->animatedLocations(), external);
}

TEST(CC3NodeAnimationTest, BaseAnimationNeedsAFrameCountAndMovesNothing) {
  LeakScope leaks;
  auto bare = makeObject<CC3NodeAnimation>();
  EXPECT_ASSERTION(bare->init(), "CC3NodeAnimation cannot be initialized without a frame count");
  auto anim = CC3NodeAnimation::animationWithFrameCount(3);
  EXPECT_NE(anim->description().find(" with 3 frames"), std::string::npos);
  auto node = CC3Node::node();
  node->setLocation({1, 2, 3});
  anim->establishFrameAt(0.5f, node);
  EXPECT_EQ(node->location(), cc3v(1, 2, 3));
  // No frames at all: nothing to show, and no index below zero.
  CC3ArrayNodeAnimation::animationWithFrameCount(0)->establishFrameAt(1, node);
  EXPECT_EQ(node->location(), cc3v(1, 2, 3));
}
