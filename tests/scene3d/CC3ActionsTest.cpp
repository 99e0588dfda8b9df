#include "CC3Actions.h"

#include <gtest/gtest.h>

#include "CC3NodeAnimation.h"
#include "CC3NodeTestSupport.h"
#include "CC3TargettingNode.h"
#include "CCActionInterval.h"
#include "CCActionManager.h"
#include "TestSupport.h"

namespace {

// Steps the shared manager in 0.1 s frames; the first frame counts no time.
void runFrames(int frames) {
  for (int i = 0; i < frames; ++i) CCActionManager::sharedManager()->update(0.1f);
}

// A leaf that keeps a diffuse colour, as a mesh node's material does.
class TintedLeaf : public CC3Node {
 public:
  ccColor4F diffuse{0, 0, 0, 1};
  ccColor4F diffuseColor() const override { return diffuse; }
  void setDiffuseColor(ccColor4F c) override { diffuse = c; }
};

class CC3ActionsTest : public ::testing::Test {
 protected:
  void SetUp() override { CCActionManager::sharedManager(); }  // lasting singleton
  void TearDown() override { CCActionManager::sharedManager()->removeAllActions(); }
};

}  // namespace

TEST_F(CC3ActionsTest, MoveByAccumulatesInASequence) {
  LeakScope leaks;
  auto node = CC3Node::node();
  auto move = CC3MoveBy::actionWithDuration(1, {0, 0, -100});
  move->startWithTarget(node);
  move->update(0.5f);
  EXPECT_EQ(node->location(), cc3v(0, 0, -50));
  move->update(1);
  EXPECT_EQ(node->location(), cc3v(0, 0, -100));

  node->setLocation(kCC3Vec3Zero);
  node->runAction(CCSequence::actions({CC3MoveBy::actionWithDuration(1, {0, 0, -100}).get(),
                                       CC3MoveBy::actionWithDuration(1, {0, 0, -100}).get()}));
  runFrames(12);
  EXPECT_VEC3_NEAR(node->location(), cc3v(0, 0, -110), 1e-4);  // into the second step
  runFrames(20);
  EXPECT_EQ(node->location(), cc3v(0, 0, -200));
  EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

TEST_F(CC3ActionsTest, RotateByAndItsReverseReturnToTheStart) {
  LeakScope leaks;
  auto node = CC3Node::node();
  node->setRotation({0, 30, 0});
  auto turn = CC3RotateBy::actionWithDuration(0.5f, {0, 180, 0});
  auto back = turn->reverse();
  turn->startWithTarget(node);
  turn->update(1);
  EXPECT_EQ(node->rotation(), cc3v(0, 210, 0));
  back->startWithTarget(node);
  back->update(1);
  EXPECT_EQ(node->rotation(), cc3v(0, 30, 0));

  node->runAction(CCSequence::actions({turn.get(), back.get()}));
  runFrames(20);
  EXPECT_EQ(node->rotation(), cc3v(0, 30, 0));
}

TEST_F(CC3ActionsTest, RotateToTakesTheShortWay) {
  LeakScope leaks;
  auto node = CC3Node::node();
  node->setRotation({0, 350, 0});
  auto turn = CC3RotateTo::actionWithDuration(1, {0, 10, 0});
  turn->startWithTarget(node);
  EXPECT_EQ(turn->differenceVector(), cc3v(0, 20, 0));
  turn->update(0.5f);
  EXPECT_EQ(node->rotation(), cc3v(0, 360, 0));  // through 0, not 180
  turn->update(1);
  EXPECT_EQ(node->rotation(), cc3v(0, 370, 0));

  node->setRotation({0, 0, 0});
  auto half = CC3RotateTo::actionWithDuration(1, {190, 180, -90});
  half->startWithTarget(node);
  EXPECT_EQ(half->differenceVector(), cc3v(-170, 180, -90));  // exactly 180 stays
}

TEST_F(CC3ActionsTest, ScaleByAddsAndToActionsEndExactly) {
  LeakScope leaks;
  auto node = CC3Node::node();
  auto grow = CC3ScaleBy::actionWithDuration(1, {1, 1, 1});
  grow->startWithTarget(node);
  grow->update(1);
  EXPECT_EQ(node->scale(), cc3v(2, 2, 2));

  auto scale = CC3ScaleTo::actionWithDuration(1, {0.5f, 0.5f, 0.5f});
  scale->startWithTarget(node);
  scale->update(0.5f);
  EXPECT_EQ(node->scale(), cc3v(1.25f, 1.25f, 1.25f));

  node->setLocation({1, 1, 1});
  auto move = CC3MoveTo::actionWithDuration(2, {3, 5, -7});
  move->setTag(9);
  move->startWithTarget(node);
  move->update(1);
  EXPECT_EQ(node->location(), cc3v(3, 5, -7));
  EXPECT_EQ(move->description(),
            "CC3MoveTo start: (1.000, 1.000, 1.000), end: (3.000, 5.000, -7.000), diff: "
            "(2.000, 4.000, -8.000)");
  auto back = dynamicPtrCast<CC3MoveTo>(move->reverse());
  ASSERT_TRUE(back);
  back->startWithTarget(node);
  back->update(1);
  EXPECT_EQ(node->location(), cc3v(1, 1, 1));

  auto copy = copyAction<CC3TransformTo>(move.get());
  EXPECT_EQ(copy->className(), "CC3MoveTo");
  EXPECT_EQ(copy->duration(), 2);
  EXPECT_EQ(copy->endVector(), cc3v(3, 5, -7));
  EXPECT_EQ(copy->tag(), 9);
  auto byCopy = copyAction<CC3TransformBy>(CC3MoveBy::actionWithDuration(1, {0, 2, 0}).get());
  EXPECT_EQ(byCopy->className(), "CC3MoveBy");
  EXPECT_EQ(byCopy->differenceVector(), cc3v(0, 2, 0));
}

TEST_F(CC3ActionsTest, PointingActionsTurnTheForwardDirection) {
  LeakScope leaks;
  auto node = CC3TargettingNode::node();
  auto look = CC3RotateToLookTowards::actionWithDuration(1, {0, 0, 5});
  EXPECT_EQ(look->endVector(), cc3v(0, 0, 1));
  auto lookAt = CC3RotateToLookAt::actionWithDuration(1, {10, 0, 0});
  node->setLocation({0, 0, 0});
  node->updateTransformMatrices();
  lookAt->startWithTarget(node);
  EXPECT_EQ(lookAt->startVector(), cc3v(0, 0, -1));
  lookAt->update(1);
  node->updateTransformMatrices();
  EXPECT_VEC3_NEAR(node->forwardDirection(), cc3v(1, 0, 0), 1e-6);

  // Run again from elsewhere: the location, not last run's direction, is kept.
  node->setLocation({10, 0, 10});
  node->updateTransformMatrices();
  lookAt->startWithTarget(node);
  lookAt->update(1);
  node->updateTransformMatrices();
  EXPECT_VEC3_NEAR(node->forwardDirection(), cc3v(0, 0, -1), 1e-6);

  auto plain = CC3Node::node();
  EXPECT_ASSERTION(look->startWithTarget(plain),
                   "CC3RotateToLookTowards needs a CC3TargettingNode");
  auto notANode = CCActionManager::sharedManager();
  EXPECT_ASSERTION(CC3MoveBy::actionWithDuration(1, {1, 0, 0})->startWithTarget(notANode),
                   "CC3MoveBy can only act on a CC3Node");
}

TEST_F(CC3ActionsTest, TintsBlendTheirOwnColourOnly) {
  LeakScope leaks;
  auto group = CC3Node::node();
  auto leaf = makeObject<TintedLeaf>();
  leaf->init();
  group->addChild(leaf);
  leaf->diffuse = {1, 0, 0, 1};
  auto tint = CC3TintDiffuseTo::actionWithDuration(1, {0, 0, 1, 0});
  tint->startWithTarget(group);
  tint->update(0.25f);
  EXPECT_EQ(leaf->diffuse, (ccColor4F{0.75f, 0, 0.25f, 0.75f}));
  tint->update(1);
  EXPECT_EQ(leaf->diffuse, (ccColor4F{0, 0, 1, 0}));
  EXPECT_EQ(copyAction<CC3TintTo>(tint.get())->className(), "CC3TintDiffuseTo");

  auto abstract = CC3TintTo::actionWithDuration(1, {0, 0, 1, 0});
  EXPECT_ASSERTION(
      abstract->startWithTarget(group),
      "CC3TintTo is abstract. Property targetColor must be implemented in a concrete subclass");
}

TEST_F(CC3ActionsTest, AnimateAndRangeLimit) {
  LeakScope leaks;
  auto node = CC3Node::node();
  auto anim = CC3ArrayNodeAnimation::animationWithFrameCount(5);
  CC3Vec3* locations = anim->allocateLocations();
  for (int i = 0; i < 5; ++i) locations[i] = {static_cast<float>(i), 0, 0};
  node->setAnimation(anim);

  auto play = CC3Animate::actionWithDuration(2);
  play->startWithTarget(node);
  play->update(0.25f);  // frame 1, a quarter on
  EXPECT_VEC3_NEAR(node->location(), cc3v(1.25f, 0, 0), 1e-6);
  auto backwards = dynamicPtrCast<CC3Animate>(play->reverse());
  ASSERT_TRUE(backwards);
  EXPECT_TRUE(backwards->isReversed());
  EXPECT_TRUE(copyAction(backwards.get())->isReversed());
  backwards->startWithTarget(node);
  backwards->update(0.25f);  // plays 0.75: frame 3, three quarters on
  EXPECT_VEC3_NEAR(node->location(), cc3v(3.75f, 0, 0), 1e-6);

  auto mover = CC3Node::node();
  auto limited = CC3ActionRangeLimit::actionWithAction(CC3MoveTo::actionWithDuration(1, {10, 0, 0}),
                                                       0.2f, 0.6f);
  limited->startWithTarget(mover);
  limited->update(0.5f);
  EXPECT_VEC3_NEAR(mover->location(), cc3v(4, 0, 0), 1e-5);
  auto undo = limited->reverse();
  mover->setLocation(kCC3Vec3Zero);
  undo->startWithTarget(mover);
  undo->update(0);
  EXPECT_VEC3_NEAR(mover->location(), cc3v(6, 0, 0), 1e-5);
  auto limitedCopy = copyAction(static_cast<CC3ActionRangeLimit*>(limited.get()));
  EXPECT_FLOAT_EQ(limitedCopy->rangeStart(), 0.2f);
  EXPECT_FLOAT_EQ(limitedCopy->rangeSpan(), 0.4f);

  auto part = CC3Animate::actionWithDuration(1, 0.5f, 1.0f);
  node->runAction(part);
  runFrames(20);
  EXPECT_EQ(node->location(), cc3v(4, 0, 0));
}
