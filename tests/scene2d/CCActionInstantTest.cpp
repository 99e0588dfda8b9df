#include "CCActionInstant.h"

#include "CCActionIntervalTestSupport.h"

namespace {

class CCActionInstantTest : public ActionTest {};

class FlipNode : public CCNode, public CCFlipProtocol {
 public:
  void setFlipX(bool flip) override { flipX = flip; }
  void setFlipY(bool flip) override { flipY = flip; }
  bool flipX = false, flipY = false;
};

TEST_F(CCActionInstantTest, NodeActionsActWhenStarted) {
  auto node = makeObject<FlipNode>();
  CCHide::action()->startWithTarget(node);
  EXPECT_FALSE(node->visible());
  CCShow::action()->startWithTarget(node);
  EXPECT_TRUE(node->visible());
  auto toggle = CCToggleVisibility::action();
  toggle->startWithTarget(node);
  EXPECT_FALSE(node->visible());
  toggle->startWithTarget(node);
  EXPECT_TRUE(node->visible());
  CCPlace::actionWithPosition({12, -3})->startWithTarget(node);
  EXPECT_EQ(node->position(), CGPointMake(12, -3));
  auto flip = CCFlipX::actionWithFlipX(true);
  flip->startWithTarget(node);
  EXPECT_TRUE(node->flipX);
  flip->reverse()->startWithTarget(node);
  EXPECT_FALSE(node->flipX);
  CCFlipY::actionWithFlipY(true)->startWithTarget(node);
  EXPECT_TRUE(node->flipY);
  EXPECT_ASSERTION(CCFlipY::actionWithFlipY(true)->startWithTarget(CCNode::node()),
                   "Action target must be able to flip");

  EXPECT_EQ(CCShow::action()->reverse()->className(), "CCHide");
  EXPECT_EQ(CCHide::action()->reverse()->className(), "CCShow");
  auto place = CCPlace::actionWithPosition({1, 2});
  place->setTag(4);
  auto again = place->reverse();  // an instant action's reverse is its copy
  EXPECT_NE(again.get(), place.get());
  EXPECT_EQ(again->tag(), 4);
  again->startWithTarget(node);
  EXPECT_EQ(node->position(), CGPointMake(1, 2));
}

TEST_F(CCActionInstantTest, InstantActionIsDoneAfterOneStep) {
  auto node = running(CCNode::node());
  node->setVisible(false);
  node->runAction(CCShow::action());
  EXPECT_TRUE(node->visible());  // acts inside runAction
  EXPECT_EQ(node->numberOfRunningActions(), 1u);
  frame();
  EXPECT_EQ(node->numberOfRunningActions(), 0u);
  EXPECT_EQ(CCActionInstant::action()->duration(), 0);
}

TEST_F(CCActionInstantTest, CallFuncFiresInsideRunActionAndHoldsItsTarget) {
  auto node = running(CCNode::node());
  auto target = makeObject<CallTarget>();
  auto call = CCCallFunc::actionWithTarget(target, SELECTOR(CallTarget::fire));
  EXPECT_EQ(target->retainCount(), 2u);
  CallTarget* raw = target.get();
  target = nullptr;  // the action keeps it alive
  node->runAction(call);
  EXPECT_EQ(raw->calls, 1);
  frame();
  EXPECT_EQ(raw->calls, 1);
  EXPECT_EQ(node->numberOfRunningActions(), 0u);
  EXPECT_EQ(call->targetCallback(), raw);
  // Copies fire on their own and hold the target too.
  auto copy = copyAction(call.get());
  call = nullptr;
  node->runAction(copy);
  EXPECT_EQ(raw->calls, 2);
  copy = nullptr;
  frame();  // the last holder lets go: the leak check in TearDown sees it freed
}

TEST_F(CCActionInstantTest, CallFuncVariantsPassTheRunningNode) {
  auto runner = running(CCNode::node());
  auto target = makeObject<CallTarget>();
  runner->runAction(CCCallFuncN::actionWithTarget(target, SELECTOR(CallTarget::fireWithNode)));
  EXPECT_EQ(target->lastNode, runner.get());  // the runner, not the call-back target

  runner->runAction(CCCallFuncN::actionWithTarget(target, SELECTOR(CallTarget::fireWithObject)));
  EXPECT_EQ(target->lastObject, runner.get());

  int payload = 42;
  runner->runAction(
      CCCallFuncND::actionWithTarget(target, SELECTOR(CallTarget::fireWithNodeAndData), &payload));
  EXPECT_EQ(target->lastData, &payload);

  auto object = makeObject<CallTarget>();
  auto withObject =
      CCCallFuncO::actionWithTarget(target, SELECTOR(CallTarget::fireWithObject), object);
  EXPECT_EQ(object->retainCount(), 2u);
  runner->runAction(withObject);
  EXPECT_EQ(target->lastObject, object.get());

  NSObject* blockSaw = nullptr;
  int blockCalls = 0;
  runner->runAction(CCCallBlock::actionWithBlock([&] { ++blockCalls; }));
  runner->runAction(CCCallBlockN::actionWithBlock([&](NSObject* n) { blockSaw = n; }));
  EXPECT_EQ(blockCalls, 1);
  EXPECT_EQ(blockSaw, runner.get());
  EXPECT_EQ(target->calls, 4);
  frame();
  EXPECT_EQ(runner->numberOfRunningActions(), 0u);
}

// A call-back whose receiver stops every action of the node, the call-back included.
class Stopper : public NSObject {
 public:
  explicit Stopper(CCNode* node) : node_(node) {}
  void stopAll() {
    ++calls;
    node_->stopAllActions();
  }
  int calls = 0;

 private:
  CCNode* node_;
};

TEST_F(CCActionInstantTest, CallBackMayStopItsOwnAction) {
  auto node = running(CCNode::node());
  auto stopper = makeObject<Stopper>(node);
  node->runAction(CCCallFunc::actionWithTarget(stopper, SELECTOR(Stopper::stopAll)));
  EXPECT_EQ(stopper->calls, 1);
  EXPECT_EQ(node->numberOfRunningActions(), 0u);
  auto later = makeObject<CallTarget>();
  node->runAction(
      CCSequence::actions({CCCallFunc::actionWithTarget(stopper, SELECTOR(Stopper::stopAll)),
                           CCDelayTime::actionWithDuration(0.1f),
                           CCCallFunc::actionWithTarget(later, SELECTOR(CallTarget::fire))}));
  frames(20);
  EXPECT_EQ(stopper->calls, 2);
  EXPECT_EQ(later->calls, 0);
}

TEST_F(CCActionInstantTest, EmptyCallBacksDoNothing) {
  auto node = running(CCNode::node());
  node->runAction(CCCallFunc::actionWithTarget(nullptr, Selector<>()));
  node->runAction(
      CCCallFuncO::actionWithTarget(makeObject<CallTarget>(), Selector<NSObject*>(), nullptr));
  node->runAction(CCCallBlock::actionWithBlock(nullptr));
  frame();
  EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

TEST_F(CCActionInstantTest, CallFuncDescriptionNamesTargetAndSelector) {
  auto target = makeObject<CallTarget>();
  auto call = CCCallFunc::actionWithTarget(target, SELECTOR(CallTarget::fire));
  call->setTag(9);
  std::string text = call->description();
  EXPECT_EQ(text.rfind("<CCCallFunc = ", 0), 0u) << text;
  EXPECT_NE(text.find(" | Tag = 9 | target = <CallTarget = "), std::string::npos) << text;
  EXPECT_NE(text.find(" | selector = CallTarget::fire>"), std::string::npos) << text;
}

}  // namespace
