#include "lumoPageTilt.h"

#include <gtest/gtest.h>

#include "CC3Node.h"
#include "lmStageInfo.h"

namespace {

TEST(lumoPageTiltTest, AboutXStaysWithinFifteenStepsEitherSideOfTheStart) {
  Ptr<lmStageInfo> info = lmStageInfo::stageInfo();
  auto ground = CC3Node::nodeWithName("ground3");
  ground->setRotation({-90, 0, 0});
  lumoPageTilt tilt(*info);
  for (int i = 0; i < 40; ++i) tilt.stepAboutX(-0.2f, ground.get());
  EXPECT_EQ(tilt.increaseUp(), 15);
  EXPECT_EQ(tilt.increaseDown(), -15);
  EXPECT_NEAR(ground->rotation().x, -93, 1e-3);
  EXPECT_NEAR(info->rotation().x, -93, 1e-3);
  // The other way, the same band from where it started.
  for (int i = 0; i < 60; ++i) tilt.stepAboutX(0.2f, ground.get());
  EXPECT_EQ(tilt.increaseUp() + tilt.increaseDown(), 0);
  EXPECT_NEAR(ground->rotation().x, -87, 1e-3);
  tilt.stepAboutX(0, ground.get());
  EXPECT_NEAR(ground->rotation().x, -87, 1e-3);
}

TEST(lumoPageTiltTest, WhileLockedOrWithoutAGroundOnlyTheReadingStateMoves) {
  Ptr<lmStageInfo> info = lmStageInfo::stageInfo();
  auto ground = CC3Node::nodeWithName("ground3");
  ground->setRotation({-90, 0, 0});
  lumoPageTilt tilt(*info);
  info->setCanAccelerometer(false);
  tilt.stepAboutX(0.2f, ground.get());
  EXPECT_NEAR(ground->rotation().x, -90, 1e-6);
  EXPECT_NEAR(info->rotation().x, -89.8, 1e-4);
  tilt.stepAboutY(0.4f, nullptr);
  EXPECT_NEAR(info->rotation().y, 0.4, 1e-6);
}

TEST(lumoPageTiltTest, AboutYStopsShortOfTwentyDegrees) {
  Ptr<lmStageInfo> info = lmStageInfo::stageInfo();
  auto ground = CC3Node::nodeWithName("ground3");
  lumoPageTilt tilt(*info);
  ground->setRotation({-90, 19.7f, 0});
  tilt.stepAboutY(0.4f, ground.get());
  EXPECT_NEAR(ground->rotation().y, 19.7, 1e-4);
  tilt.stepAboutY(-0.4f, ground.get());
  EXPECT_NEAR(ground->rotation().y, 19.3, 1e-4);
  EXPECT_NEAR(info->rotation().y, 19.3, 1e-4);
}

}  // namespace
