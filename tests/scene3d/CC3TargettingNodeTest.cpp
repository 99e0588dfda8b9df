#include "CC3TargettingNode.h"

#include <gtest/gtest.h>

#include "CC3NodeTestSupport.h"

TEST(CC3TargettingNodeTest, TargetLocationComesFromTheForwardDirection) {
  LeakScope leaks;
  auto n = CC3TargettingNode::node();
  EXPECT_EQ(n->forwardDirection(), cc3v(0, 0, -1));
  EXPECT_EQ(n->upDirection(), cc3v(0, 1, 0));
  EXPECT_NE(dynamic_cast<CC3DirectionalRotator*>(n->rotator()), nullptr);
  // At the origin the distance is raised to 1.
  EXPECT_EQ(n->targetLocation(), cc3v(0, 0, -1));

  n->setLocation({0, 100, 450});
  EXPECT_TRUE(n->isTargetLocationDirty());
  n->updateTransformMatrices();
  EXPECT_VEC3_NEAR(n->targetLocation(), cc3v(0, 100, -100), 1e-4);

  n->setForwardDirection({1, 0, 0});
  EXPECT_EQ(n->upDirection(), cc3v(0, 1, 0));
  n->updateTransformMatrices();
  EXPECT_VEC3_NEAR(n->upDirection(), cc3v(0, 1, 0), 1e-6);
  EXPECT_VEC3_NEAR(n->rightDirection(), cc3v(0, 0, 1), 1e-6);
  EXPECT_VEC3_NEAR(n->targetLocation(), cc3v(550, 100, 450), 1e-3);
}

TEST(CC3TargettingNodeTest, SettingATargetLocationTurnsTheNodeInTheNextPass) {
  LeakScope leaks;
  auto n = CC3TargettingNode::node();
  n->setLocation({0, 0, 10});
  n->setTargetLocation({0, 0, 20});
  EXPECT_TRUE(n->isRotatorDirtyByTargetLocation());
  EXPECT_TRUE(n->isTransformDirty());
  n->updateTransformMatrices();
  EXPECT_FALSE(n->isRotatorDirtyByTargetLocation());
  EXPECT_VEC3_NEAR(n->forwardDirection(), cc3v(0, 0, 1), 1e-6);
  EXPECT_VEC3_NEAR(n->transformMatrix()->transformDirection({0, 0, -1}), cc3v(0, 0, 1), 1e-6);
  EXPECT_EQ(n->targetLocation(), cc3v(0, 0, 20));

  n->setRotation({0, 90, 0});
  EXPECT_TRUE(n->isTargetLocationDirty());
  n->updateTransformMatrices();
  EXPECT_VEC3_NEAR(n->forwardDirection(), cc3v(-1, 0, 0), 1e-6);
}

TEST(CC3TargettingNodeTest, TrackingIgnoresRotationsAndFollowsTheTarget) {
  LeakScope leaks;
  auto n = CC3TargettingNode::node();
  auto target = CC3Node::node();
  target->setLocation({5, 0, 0});
  target->updateTransformMatrices();

  unsigned held = target->retainCount();
  n->setTarget(target);
  EXPECT_EQ(target->retainCount(), held + 1);
  EXPECT_TRUE(n->isNewTarget());
  n->trackTarget();  // a new target is followed once
  EXPECT_FALSE(n->isNewTarget());
  EXPECT_EQ(n->targetLocation(), cc3v(5, 0, 0));
  EXPECT_VEC3_NEAR(n->forwardDirection(), cc3v(1, 0, 0), 1e-6);
  EXPECT_FALSE(n->isTransformDirty());  // updated at once

  target->setLocation({0, 5, 0});
  target->updateTransformMatrices();
  n->trackTarget();  // not new, not tracking: stays
  EXPECT_EQ(n->targetLocation(), cc3v(5, 0, 0));

  n->setShouldTrackTarget(true);
  n->trackTarget();
  EXPECT_VEC3_NEAR(n->forwardDirection(), cc3v(0, 1, 0), 1e-6);

  n->setRotation({0, 45, 0});
  n->setQuaternion({0, 1, 0, 0});
  n->setForwardDirection({0, 0, 1});
  n->updateTransformMatrices();
  EXPECT_VEC3_NEAR(n->forwardDirection(), cc3v(0, 1, 0), 1e-6);

  n->setTarget(nullptr);
  EXPECT_EQ(target->retainCount(), held);
}

TEST(CC3TargettingNodeTest, CopiesKeepTheTargetAndDirection) {
  LeakScope leaks;
  auto n = CC3TargettingNode::nodeWithName(std::string("Lamp"));
  auto target = CC3Node::nodeWithName(std::string("goal"));
  n->setTarget(target);
  n->setShouldTrackTarget(true);
  n->setTargetLocation({1, 2, 3});
  auto copy = n->copy();
  auto* pointing = dynamic_cast<CC3TargettingNode*>(copy.get());
  ASSERT_NE(pointing, nullptr);
  EXPECT_EQ(pointing->target(), target.get());
  EXPECT_TRUE(pointing->shouldTrackTarget());
  EXPECT_EQ(pointing->targetLocation(), cc3v(1, 2, 3));
  EXPECT_NE(pointing->fullDescription().find(", targetted at: (1.000, 2.000, 3.000), from "
                                             "target: CC3Node goal-"),
            std::string::npos);
}
