#include "lumoGestureRecogniser.h"

#include <gtest/gtest.h>

namespace {

TEST(lumoGestureRecogniserTest, ATapEndsNearerThanThirtyPointsBothWays) {
  const CGPoint start{300, 300};
  EXPECT_TRUE(lumoGestureRecogniser::isTap(start, {300, 300}));
  EXPECT_TRUE(lumoGestureRecogniser::isTap(start, {329, 271}));
  EXPECT_FALSE(lumoGestureRecogniser::isTap(start, {330, 300}));
  EXPECT_FALSE(lumoGestureRecogniser::isTap(start, {300, 270}));
  EXPECT_FALSE(lumoGestureRecogniser::isTap(start, {380, 310}));

  // The raw touch and its pick, each from its own start, by the same rule.
  lumoGestureRecogniser gestures;
  gestures.touchBegan({100, 100});
  gestures.pickBegan({500, 500});
  EXPECT_TRUE(gestures.touchEndsAsTap({110, 120}));
  EXPECT_FALSE(gestures.pickEndsAsTap({110, 120}));
  EXPECT_TRUE(gestures.pickEndsAsTap({470.5f, 529}));
  EXPECT_FALSE(gestures.pickEndsAsTap({500, 530}));
  EXPECT_FALSE(gestures.touchEndsAsTap({70, 100}));
}

TEST(lumoGestureRecogniserTest, DragStepsCountFromTheLastStepTaken) {
  lumoGestureRecogniser gestures;
  gestures.touchBegan({500, 100});
  EXPECT_EQ(gestures.dragStepAt({500, 220}), std::nullopt);
  EXPECT_EQ(gestures.dragStepAt({900, 221}), lumoTurn::kForward);
  EXPECT_EQ(gestures.dragStepAt({500, -21}), lumoTurn::kBack);
  // Not taken (a locked turn): the distance keeps growing from the start.
  EXPECT_EQ(gestures.dragStepAt({500, 300}), lumoTurn::kForward);
  gestures.stepTaken({500, 300});
  EXPECT_EQ(gestures.dragStepAt({500, 400}), std::nullopt);
  EXPECT_EQ(gestures.dragStepAt({500, 179}), lumoTurn::kBack);
}

TEST(lumoGestureRecogniserTest, ARefusedStepIsReportedOnceAGesture) {
  lumoGestureRecogniser gestures;
  gestures.touchBegan({0, 0});
  EXPECT_TRUE(gestures.firstRefusal());
  EXPECT_FALSE(gestures.firstRefusal());
  gestures.touchBegan({0, 0});
  EXPECT_TRUE(gestures.firstRefusal());
}

TEST(lumoGestureRecogniserTest, TiltStepsFollowChangesOfAttitudeNotAnAttitude) {
  lumoGestureRecogniser gestures;
  // A sudden lean to the right tilts back about x, a lean forward back about y.
  lumoGestureRecogniser::TiltStep step = gestures.accelerate({0.5, 0.5, -1, 0});
  EXPECT_FLOAT_EQ(step.aboutX, -0.2f);
  EXPECT_FLOAT_EQ(step.aboutY, -0.4f);
  // Held there, the filtered value catches up and the steps stop.
  for (int i = 0; i < 200; ++i) step = gestures.accelerate({0.5, 0.5, -1, 0});
  EXPECT_EQ(step.aboutX, 0);
  EXPECT_EQ(step.aboutY, 0);
  // Back the other way.
  step = gestures.accelerate({-0.5, -0.5, -1, 0});
  EXPECT_FLOAT_EQ(step.aboutX, 0.2f);
  EXPECT_FLOAT_EQ(step.aboutY, 0.4f);
  // Small changes stay below the thresholds: about y reacts to less than about x.
  lumoGestureRecogniser steady;
  step = steady.accelerate({0.05, 0.045, 0, 0});
  EXPECT_EQ(step.aboutX, 0);            // 0.0475 left after the filter
  EXPECT_FLOAT_EQ(step.aboutY, -0.4f);  // 0.04275
}

}  // namespace
