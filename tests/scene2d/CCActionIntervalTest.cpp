#include "CCActionInterval.h"

#include <cfloat>

#include "CCActionInstant.h"
#include "CCActionIntervalTestSupport.h"

namespace {

class CCActionIntervalTest : public ActionTest {};

// MARK: the interval base

TEST_F(CCActionIntervalTest, ZeroAndNegativeDurationsEndOnTheSecondStep) {
  for (ccSeconds duration : {0.0f, -1.0f}) {
    auto node = running(CCNode::node());
    auto move = CCMoveTo::actionWithDuration(duration, {10, 20});
    EXPECT_EQ(move->duration(), FLT_EPSILON);
    node->runAction(move);
    frame();
    EXPECT_EQ(node->position(), CGPointZero);  // the first update is t = 0
    EXPECT_EQ(node->numberOfRunningActions(), 1u);
    frame();
    EXPECT_EQ(node->position(), CGPointMake(10, 20));
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
  }
}

TEST_F(CCActionIntervalTest, SixtyFramesOfASixtiethCompleteOneSecond) {
  auto node = running(CCNode::node());
  node->runAction(CCMoveTo::actionWithDuration(1, {60, 0}));
  frames(60);  // the first frame counts no time
  EXPECT_LT(node->position().x, 60);
  EXPECT_EQ(node->numberOfRunningActions(), 1u);
  frame();
  EXPECT_EQ(node->position(), CGPointMake(60, 0));
  EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

TEST_F(CCActionIntervalTest, MisuseFailsItsAssertions) {
  auto plain = makeObject<CCActionInterval>();
  EXPECT_ASSERTION(plain->init(), "IntervalActionInit: Init not supported. Use InitWithDuration");
  EXPECT_ASSERTION(CCMoveTo::actionWithDuration(1, {1, 1})->reverse(),
                   "CCIntervalAction: reverse not implemented.");
  EXPECT_ASSERTION(CCJumpTo::actionWithDuration(1, {1, 1}, 5, 1)->reverse(),
                   "CCIntervalAction: reverse not implemented.");
  EXPECT_ASSERTION(CCBezierTo::actionWithDuration(1, {})->reverse(),
                   "CCIntervalAction: reverse not implemented.");
  auto move = CCMoveBy::actionWithDuration(1, {1, 1});
  EXPECT_ASSERTION(CCSequence::actionOne(move, nullptr), "Sequence: arguments must be non-nil");
  EXPECT_ASSERTION(CCSpawn::actionOne(nullptr, move), "Spawn: arguments must be non-nil");
  EXPECT_ASSERTION(CCReverseTime::actionWithAction(nullptr),
                   "CCReverseTime: action should not be nil");
  auto sequence = CCSequence::actionOne(move, CCDelayTime::actionWithDuration(1));
  EXPECT_ASSERTION(sequence->initOne(move, CCDelayTime::actionWithDuration(1)),
                   "Sequence: re-init using the same parameters is not supported");
  auto reversed = CCReverseTime::actionWithAction(move);
  EXPECT_ASSERTION(reversed->initWithAction(move),
                   "CCReverseTime: re-init doesn't support using the same arguments");
  EXPECT_EQ(CCRepeat::actionWithAction(nullptr, 3), nullptr);
  // A move on something that is not a node is caught when it starts.
  auto notANode = makeObject<CallTarget>();
  EXPECT_ASSERTION(move->startWithTarget(notANode), "Action target must be a CCNode");
  EXPECT_ASSERTION(CCFadeIn::actionWithDuration(1)->startWithTarget(CCNode::node()),
                   "Action target must have colour and opacity");
}

// MARK: sequences

TEST_F(CCActionIntervalTest, SequenceListFoldsLeftAndHandlesShortLists) {
  EXPECT_EQ(CCSequence::actions({}), nullptr);
  auto a = CCDelayTime::actionWithDuration(1);
  auto b = CCDelayTime::actionWithDuration(2);
  auto c = CCDelayTime::actionWithDuration(3);
  EXPECT_EQ(CCSequence::actions({a}).get(), a.get());
  auto folded = dynamicPtrCast<CCSequence>(CCSequence::actions({a, b, nullptr, c}));
  ASSERT_TRUE(folded);
  EXPECT_FLOAT_EQ(folded->duration(), 3);  // the null ends the list
  auto all = dynamicPtrCast<CCSequence>(CCSequence::actionsWithArray({a, b, c}));
  ASSERT_TRUE(all);
  EXPECT_EQ(all->second(), c.get());
  auto inner = dynamic_cast<CCSequence*>(all->first());
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->first(), a.get());
  EXPECT_EQ(inner->second(), b.get());
}

TEST_F(CCActionIntervalTest, SequenceJumpingPastTheSplitFinishesTheFirstAction) {
  Log log;
  auto node = CCNode::node();
  auto sequence = CCSequence::actionOne(Recorder::make(1, &log, "a"), Recorder::make(3, &log, "b"));
  sequence->startWithTarget(node);
  sequence->update(0.5f);  // split 0.25: the first never ran
  EXPECT_EQ(log, (Log{"a:start", "a:1", "a:stop", "b:start", "b:0.333333"}));
  log.clear();
  sequence->update(1);
  EXPECT_EQ(log, (Log{"b:1"}));

  // Running normally, the first action gets its own t before its final 1.
  log.clear();
  sequence->startWithTarget(node);
  sequence->update(0.125f);
  sequence->update(0.5f);
  EXPECT_EQ(log, (Log{"a:start", "a:0.5", "a:1", "a:stop", "b:start", "b:0.333333"}));
}

TEST_F(CCActionIntervalTest, RotationSequenceEndsOnItsAngleAndCallsItsFollowUpOnce) {
  auto node = running(CCNode::node());
  auto follow = makeObject<CallTarget>();
  float rotationAtCall = -1;
  auto sequence = CCSequence::actions(
      {CCRotateBy::actionWithDuration(0.3f, 45), CCRotateBy::actionWithDuration(0.3f, 45),
       CCCallFunc::actionWithTarget(follow, SELECTOR(CallTarget::fire)),
       CCCallBlock::actionWithBlock([&] { rotationAtCall = node->rotation(); })});
  node->runAction(sequence);
  int frameOfCall = 0;
  float rotationBefore = 0;
  for (int i = 1; i <= 60; ++i) {
    rotationBefore = node->rotation();
    frame();
    if (follow->calls == 1 && frameOfCall == 0) {
      frameOfCall = i;
      EXPECT_LT(rotationBefore, 90);  // the call comes with the last rotation step
    }
  }
  EXPECT_EQ(follow->calls, 1);
  EXPECT_EQ(rotationAtCall, 90.0f);
  EXPECT_EQ(node->rotation(), 90.0f);
  // 0.6 s is 36 frames after the uncounted first one; float sums may need one more.
  EXPECT_GE(frameOfCall, 37);
  EXPECT_LE(frameOfCall, 38);
  EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

TEST_F(CCActionIntervalTest, LongFramePassesSeveralStagesAndFiresEachCallOnceInOrder) {
  Log log;
  auto node = running(CCNode::node());
  auto a = makeObject<CallTarget>(&log, "A");
  auto b = makeObject<CallTarget>(&log, "B");
  auto c = makeObject<CallTarget>(&log, "C");
  node->runAction(CCSequence::actions({
      CCDelayTime::actionWithDuration(0.1f),
      CCCallFunc::actionWithTarget(a, SELECTOR(CallTarget::fire)),
      CCRotateBy::actionWithDuration(0.1f, 10),
      CCCallFunc::actionWithTarget(b, SELECTOR(CallTarget::fire)),
      CCDelayTime::actionWithDuration(0.1f),
      CCCallFunc::actionWithTarget(c, SELECTOR(CallTarget::fire)),
  }));
  frame();
  EXPECT_TRUE(log.empty());
  frame(0.5f);
  EXPECT_EQ(log, (Log{"A", "B", "C"}));
  EXPECT_EQ(node->rotation(), 10.0f);
  frame(0.5f);
  EXPECT_EQ(log.size(), 3u);
  EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

TEST_F(CCActionIntervalTest, MoveThenCallFiresAfterTheMoveReachesItsEnd) {
  auto node = running(CCNode::node());
  std::vector<CGPoint> seenAtCall;
  node->runAction(CCSequence::actions({CCMoveTo::actionWithDuration(1, {100, 50}),
                                       CCCallBlockN::actionWithBlock([&](NSObject* runner) {
                                         seenAtCall.push_back(
                                             static_cast<CCNode*>(runner)->position());
                                       })}));
  frames(4, 0.25f);  // t = 0, 0.25, 0.5, 0.75
  EXPECT_TRUE(seenAtCall.empty());
  EXPECT_EQ(node->position(), CGPointMake(75, 37.5f));
  frame(0.25f);
  EXPECT_EQ(seenAtCall, std::vector<CGPoint>{CGPointMake(100, 50)});
}

// MARK: spawns, repeats, reverse time

TEST_F(CCActionIntervalTest, SpawnPadsTheShorterActionAndLastsTheLonger) {
  auto node = running(makeObject<ColorNode>());
  auto spawn = CCSpawn::actionOne(CCMoveBy::actionWithDuration(2, {100, 0}),
                                  CCFadeOut::actionWithDuration(1));
  EXPECT_FLOAT_EQ(spawn->duration(), 2);
  EXPECT_TRUE(dynamic_cast<CCSequence*>(spawn->two()));
  node->runAction(spawn);
  frames(2, 0.5f);                  // t = 0, 0.25
  EXPECT_EQ(node->opacity(), 127);  // 255 x 0.5, truncated
  frame(0.5f);                      // t = 0.5: the fade is complete
  EXPECT_EQ(node->opacity(), 0);
  EXPECT_EQ(node->position(), CGPointMake(50, 0));
  frames(2, 0.5f);
  EXPECT_EQ(node->position(), CGPointMake(100, 0));
  EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

TEST_F(CCActionIntervalTest, RepeatCompletesEveryRoundItReaches) {
  Log log;
  auto node = CCNode::node();
  auto repeat = CCRepeat::actionWithAction(Recorder::make(1, &log, "m"), 4);
  EXPECT_FLOAT_EQ(repeat->duration(), 4);
  repeat->startWithTarget(node);
  repeat->update(0.1f);  // inside round 1
  EXPECT_EQ(log, (Log{"m:start", "m:0.4"}));
  log.clear();
  repeat->update(0.3f);  // crosses into round 2
  EXPECT_EQ(log, (Log{"m:1", "m:stop", "m:start", "m:0.2"}));
  log.clear();
  repeat->update(0.5f);  // lands exactly on the end of round 2
  EXPECT_EQ(log, (Log{"m:1", "m:stop", "m:start", "m:0"}));
  EXPECT_EQ(repeat->total(), 2u);
  EXPECT_FALSE(repeat->isDone());
  log.clear();
  repeat->update(1);  // jumps over round 3 to the end of round 4
  EXPECT_EQ(log, (Log{"m:1", "m:stop", "m:start", "m:1"}));
  EXPECT_TRUE(repeat->isDone());
}

TEST_F(CCActionIntervalTest, RepeatHandlesManyRoundsInOneFrame) {
  auto node = running(CCNode::node());
  auto calls = makeObject<CallTarget>();
  auto round =
      CCSequence::actions({CCMoveBy::actionWithDuration(0.1f, {10, 0}),
                           CCCallFunc::actionWithTarget(calls, SELECTOR(CallTarget::fire))});
  node->runAction(CCRepeat::actionWithAction(round, 10));
  frame();
  frame(0.55f);  // five and a half rounds
  EXPECT_EQ(calls->calls, 5);
  EXPECT_NEAR(node->position().x, 55, 1e-3);
  frame(0.5f);
  EXPECT_EQ(calls->calls, 10);
  EXPECT_NEAR(node->position().x, 100, 1e-3);
  EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

TEST_F(CCActionIntervalTest, RepeatZeroTimesNeverStartsItsActionAndEnds) {
  auto node = running(CCNode::node());
  auto calls = makeObject<CallTarget>();
  auto repeat = CCRepeat::actionWithAction(
      CCCallFunc::actionWithTarget(calls, SELECTOR(CallTarget::fire)), 0);
  node->runAction(repeat);
  frames(2);
  EXPECT_EQ(calls->calls, 0);
  EXPECT_EQ(node->numberOfRunningActions(), 0u);

  auto thrice = CCRepeat::actionWithAction(
      CCCallFunc::actionWithTarget(calls, SELECTOR(CallTarget::fire)), 3);
  node->runAction(thrice);
  frames(3);
  EXPECT_EQ(calls->calls, 3);
  EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

TEST_F(CCActionIntervalTest, ReverseTimePlaysBackwards) {
  Log log;
  auto node = CCNode::node();
  auto reversed = CCReverseTime::actionWithAction(Recorder::make(2, &log, "r"));
  EXPECT_FLOAT_EQ(reversed->duration(), 2);
  reversed->startWithTarget(node);
  reversed->update(0);
  reversed->update(0.25f);
  reversed->stop();
  EXPECT_EQ(log, (Log{"r:start", "r:1", "r:0.75", "r:stop"}));
  // Its reverse is the inner action again, not a double reversal.
  EXPECT_TRUE(dynamicPtrCast<Recorder>(reversed->reverse()));
}

// MARK: property actions

TEST_F(CCActionIntervalTest, RotateToTakesTheShortWayRound) {
  auto node = CCNode::node();
  node->setRotation(350);
  auto rotate = CCRotateTo::actionWithDuration(1, 10);
  rotate->startWithTarget(node);
  rotate->update(0.5f);
  EXPECT_FLOAT_EQ(node->rotation(), 360);
  rotate->update(1);
  EXPECT_FLOAT_EQ(node->rotation(), 370);  // +20, not -340

  node->setRotation(-350);  // already at 10 degrees
  rotate->startWithTarget(node);
  rotate->update(0.5f);
  EXPECT_FLOAT_EQ(node->rotation(), -350);

  node->setRotation(725);
  auto back = CCRotateTo::actionWithDuration(1, -5);
  back->startWithTarget(node);
  back->update(1);
  EXPECT_FLOAT_EQ(node->rotation(), -5);  // from 5 (725 mod 360) by -10
}

TEST_F(CCActionIntervalTest, ScaleToAndScaleBy) {
  auto node = CCNode::node();
  node->setScaleX(2);
  node->setScaleY(4);
  auto to = CCScaleTo::actionWithDuration(1, 1, 2);
  to->startWithTarget(node);
  to->update(0.5f);
  EXPECT_FLOAT_EQ(node->scaleX(), 1.5f);
  EXPECT_FLOAT_EQ(node->scaleY(), 3);
  to->update(1);
  auto by = CCScaleBy::actionWithDuration(1, 3);
  by->startWithTarget(node);
  by->update(1);
  EXPECT_FLOAT_EQ(node->scaleX(), 3);
  EXPECT_FLOAT_EQ(node->scaleY(), 6);
  auto undo = by->reverse();
  undo->startWithTarget(node);
  undo->update(1);
  EXPECT_FLOAT_EQ(node->scaleX(), 1);
  EXPECT_FLOAT_EQ(node->scaleY(), 2);
}

TEST_F(CCActionIntervalTest, JumpsArcAndLandOnTheirEnd) {
  auto node = CCNode::node();
  auto jump = CCJumpBy::actionWithDuration(1, {100, 0}, 50, 2);
  jump->startWithTarget(node);
  jump->update(0.25f);  // top of the first arc
  EXPECT_EQ(node->position(), CGPointMake(25, 50));
  jump->update(0.5f);  // between the arcs
  EXPECT_EQ(node->position(), CGPointMake(50, 0));
  jump->update(1);
  EXPECT_EQ(node->position(), CGPointMake(100, 0));

  node->setPosition({10, 10});
  auto to = CCJumpTo::actionWithDuration(1, {110, 10}, 50, 2);
  to->startWithTarget(node);
  to->update(0.25f);
  EXPECT_EQ(node->position(), CGPointMake(35, 60));
  to->update(1);
  EXPECT_EQ(node->position(), CGPointMake(110, 10));
}

TEST_F(CCActionIntervalTest, BezierFollowsItsControlPoints) {
  auto node = CCNode::node();
  node->setPosition({10, 10});
  ccBezierConfig config{{100, 0}, {0, 100}, {100, 100}};
  auto curve = CCBezierBy::actionWithDuration(1, config);
  curve->startWithTarget(node);
  curve->update(0.5f);  // 0.375 c1 + 0.375 c2 + 0.125 end
  EXPECT_EQ(node->position(), CGPointMake(60, 85));
  curve->update(1);
  EXPECT_EQ(node->position(), CGPointMake(110, 10));
  auto back = curve->reverse();
  back->startWithTarget(node);
  back->update(0.5f);  // the same path backwards
  EXPECT_EQ(node->position(), CGPointMake(60, 85));
  back->update(1);
  EXPECT_EQ(node->position(), CGPointMake(10, 10));
}

TEST_F(CCActionIntervalTest, BezierToAimsAtTheSamePointsWhenRestarted) {
  auto node = running(CCNode::node());
  node->setPosition({10, 0});
  ccBezierConfig config{{100, 0}, {40, 80}, {80, 80}};
  node->runAction(CCRepeat::actionWithAction(CCBezierTo::actionWithDuration(0.5f, config), 2));
  frames(3, 0.5f);
  EXPECT_EQ(node->position(), CGPointMake(100, 0));
  EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

TEST_F(CCActionIntervalTest, FadesAndTintsTruncateAndSaturate) {
  auto node = makeObject<ColorNode>();
  node->setOpacity(0);
  auto in = CCFadeIn::actionWithDuration(1);
  in->startWithTarget(node);
  in->update(0.5f);
  EXPECT_EQ(node->opacity(), 127);
  in->update(1);
  EXPECT_EQ(node->opacity(), 255);

  node->setOpacity(200);
  auto to = CCFadeTo::actionWithDuration(1, 100);
  to->startWithTarget(node);
  to->update(0.25f);
  EXPECT_EQ(node->opacity(), 175);

  node->setColor({0, 0, 0});
  auto tint = CCTintTo::actionWithDuration(1, 255, 100, 10);
  tint->startWithTarget(node);
  tint->update(0.5f);
  EXPECT_EQ(node->color(), (ccColor3B{127, 50, 5}));

  node->setColor({100, 100, 100});
  auto by = CCTintBy::actionWithDuration(1, -100, 50, 200);
  by->startWithTarget(node);
  by->update(0.5f);
  EXPECT_EQ(node->color(), (ccColor3B{50, 125, 200}));
  by->update(1);  // 300 stays at 255 rather than wrapping
  EXPECT_EQ(node->color(), (ccColor3B{0, 150, 255}));
  auto undo = by->reverse();
  undo->startWithTarget(node);
  undo->update(1);
  EXPECT_EQ(node->color(), (ccColor3B{100, 100, 55}));
}

TEST_F(CCActionIntervalTest, BlinkTogglesBySlicesAndLeavesTheLastFrameAlone) {
  auto node = running(CCNode::node());
  node->runAction(CCBlink::actionWithDuration(1, 2));  // slices of 0.5
  std::vector<bool> seen;
  for (int i = 0; i < 6; ++i) {
    frame(0.2f);
    seen.push_back(node->visible());
  }
  // t = 0, 0.2, 0.4 (0.4 > 0.25), 0.6, 0.8 (0.3 > 0.25), 1 (done: unchanged)
  EXPECT_EQ(seen, (std::vector<bool>{false, false, true, false, true, true}));

  auto never = CCBlink::actionWithDuration(1, 0);
  node->runAction(never);
  frames(3, 0.4f);
  EXPECT_TRUE(node->visible());  // no blinks, no change
}

// MARK: reverse and copy

// Final and intermediate states of two nodes driven by two actions.
void expectSameRun(CCFiniteTimeAction* one, CCFiniteTimeAction* two, const char* what) {
  auto a = makeObject<ColorNode>();
  auto b = makeObject<ColorNode>();
  for (auto* n : {a.get(), b.get()}) {
    n->setPosition({5, 7});
    n->setRotation(30);
    n->setScale(2);
    n->setColor({100, 100, 100});
    n->setOpacity(100);
    n->onEnter();
  }
  a->runAction(one);
  b->runAction(two);
  for (int i = 0; i < 80; ++i) {
    CCScheduler::sharedScheduler()->tick(kFrame);
    ASSERT_EQ(a->position(), b->position()) << what << " frame " << i;
    ASSERT_EQ(a->rotation(), b->rotation()) << what;
    ASSERT_EQ(a->scaleX(), b->scaleX()) << what;
    ASSERT_EQ(a->scaleY(), b->scaleY()) << what;
    ASSERT_EQ(a->color(), b->color()) << what;
    ASSERT_EQ(a->opacity(), b->opacity()) << what;
  }
  EXPECT_EQ(a->numberOfRunningActions(), 0u) << what;
  a->cleanup();
  b->cleanup();
}

TEST_F(CCActionIntervalTest, ReverseOfReverseRunsLikeTheOriginal) {
  std::vector<Ptr<CCFiniteTimeAction>> originals = {
      CCMoveBy::actionWithDuration(1, {40, -30}),
      CCRotateBy::actionWithDuration(1, 75),
      CCScaleBy::actionWithDuration(1, 1.5f, 0.5f),
      CCJumpBy::actionWithDuration(1, {30, 10}, 20, 3),
      CCBezierBy::actionWithDuration(1, {{50, 0}, {10, 40}, {40, 40}}),
      CCTintBy::actionWithDuration(1, 50, -50, 20),
      CCFadeIn::actionWithDuration(1),
      CCSequence::actions(
          {CCMoveBy::actionWithDuration(0.5f, {10, 0}), CCRotateBy::actionWithDuration(0.5f, 10)}),
      CCSpawn::actions(
          {CCMoveBy::actionWithDuration(1, {10, 0}), CCFadeOut::actionWithDuration(0.4f)}),
      CCRepeat::actionWithAction(CCRotateBy::actionWithDuration(0.25f, 10), 3),
  };
  for (const auto& original : originals) {
    auto twice = original->reverse()->reverse();
    ASSERT_TRUE(twice) << original->className();
    EXPECT_EQ(twice->className(), original->className());
    expectSameRun(original, twice, original->className().c_str());
  }
}

TEST_F(CCActionIntervalTest, MoveByAndItsReverseReturnHome) {
  auto node = running(CCNode::node());
  node->setPosition({3, 4});
  auto move = CCMoveBy::actionWithDuration(0.5f, {30, 40});
  node->runAction(CCSequence::actions({move, move->reverse()}));
  frames(70);
  EXPECT_EQ(node->position(), CGPointMake(3, 4));
}

TEST_F(CCActionIntervalTest, CopyIsUnstartedAndRunsIndependently) {
  auto first = running(CCNode::node());
  auto second = running(CCNode::node());
  auto original = dynamicPtrCast<CCActionInterval>(CCSequence::actions(
      {CCMoveBy::actionWithDuration(1, {100, 0}), CCRotateBy::actionWithDuration(1, 90)}));
  original->setTag(7);
  first->runAction(original);
  frames(31);  // half-way through the move
  auto copy = copyAction(original.get());
  EXPECT_EQ(copy->tag(), 7);
  EXPECT_EQ(copy->target(), nullptr);
  EXPECT_EQ(copy->elapsed(), 0);
  EXPECT_FLOAT_EQ(copy->duration(), 2);
  second->runAction(copy);
  frames(95);  // the original ends; the copy is a little over 1.5 s in
  EXPECT_EQ(first->position(), CGPointMake(100, 0));
  EXPECT_EQ(first->rotation(), 90);
  EXPECT_EQ(first->numberOfRunningActions(), 0u);
  EXPECT_EQ(second->position(), CGPointMake(100, 0));
  EXPECT_GT(second->rotation(), 45);
  EXPECT_LT(second->rotation(), 60);
  frames(40);
  EXPECT_EQ(second->rotation(), 90);
  EXPECT_EQ(first->position(), CGPointMake(100, 0));
}

// MARK: ownership

TEST_F(CCActionIntervalTest, NodeRemovedWhileItsSequenceRunsIsNotCalledBack) {
  auto parent = running(CCNode::node());
  auto calls = makeObject<CallTarget>();
  {
    auto child = CCNode::node();
    parent->addChild(child);
    child->runAction(CCSequence::actions(
        {CCMoveBy::actionWithDuration(0.5f, {10, 0}),
         CCCallFuncN::actionWithTarget(calls, SELECTOR(CallTarget::fireWithNode))}));
    frames(10);
    child->removeFromParentAndCleanup(true);
  }
  frames(60);
  EXPECT_EQ(calls->calls, 0);
  EXPECT_EQ(CCActionManager::sharedManager()->numberOfRunningActions(), 0u);
}

TEST_F(CCActionIntervalTest, CallBackThatRemovesItsOwnNodeEndsTheSequenceSafely) {
  auto parent = running(CCNode::node());
  auto calls = makeObject<CallTarget>();
  auto child = CCNode::node();
  parent->addChild(child);
  CCNode* raw = child.get();
  child->runAction(CCSequence::actions(
      {CCDelayTime::actionWithDuration(0.1f), CCCallBlockN::actionWithBlock([](NSObject* node) {
         static_cast<CCNode*>(node)->removeFromParentAndCleanup(true);
       }),
       CCMoveBy::actionWithDuration(0.5f, {10, 0}),
       CCCallFunc::actionWithTarget(calls, SELECTOR(CallTarget::fire))}));
  child = nullptr;  // only the parent and the manager hold it now
  frames(60);
  EXPECT_EQ(calls->calls, 0);
  EXPECT_EQ(parent->childrenCount(), 0u);
  EXPECT_EQ(CCActionManager::sharedManager()->numberOfRunningActionsInTarget(raw), 0u);
}

}  // namespace

namespace {

TEST_F(CCActionIntervalTest, RepeatForeverOfFadesKeepsItsPeriodOverAThousandCycles) {
  auto node = running(makeObject<ColorNode>());
  auto calls = makeObject<CallTarget>();
  auto cycle = dynamicPtrCast<CCActionInterval>(
      CCSequence::actions({CCFadeOut::actionWithDuration(0.5f), CCFadeIn::actionWithDuration(0.5f),
                           CCCallFunc::actionWithTarget(calls, SELECTOR(CallTarget::fire))}));
  node->runAction(CCRepeatForever::actionWithAction(cycle));
  std::vector<int> endFrames;
  int lowest = 255;
  for (int i = 1; i <= 60 * 1000 + 1; ++i) {
    int before = calls->calls;
    frame();
    lowest = std::min<int>(lowest, node->opacity());
    if (calls->calls != before) {
      EXPECT_EQ(calls->calls, before + 1) << "frame " << i;
      EXPECT_EQ(node->opacity(), 255) << "frame " << i;  // the next round starts opaque
      endFrames.push_back(i);
    }
  }
  ASSERT_EQ(endFrames.size(), 1000u);
  EXPECT_EQ(endFrames.front(), 61);  // one uncounted first frame, then 60 frames a round
  for (std::size_t k = 1; k < endFrames.size(); ++k) {
    ASSERT_EQ(endFrames[k] - endFrames[k - 1], 60) << "cycle " << k;
  }
  EXPECT_EQ(lowest, 0);
  EXPECT_EQ(node->numberOfRunningActions(), 1u);
  node->stopAllActions();
}

}  // namespace
