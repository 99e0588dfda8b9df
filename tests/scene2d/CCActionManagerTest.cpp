#include "CCActionManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "CCNode.h"
#include "CCScheduler.h"
#include "NSAutoreleasePool.h"
#include "TestSupport.h"

namespace {

// A timed action that records what the manager does to it. It follows the
// interval rule: the first step after start counts no time.
class ProbeAction : public CCFiniteTimeAction {
 public:
  explicit ProbeAction(ccSeconds duration, std::vector<std::string>* log = nullptr,
                       std::string name = "")
      : log_(log), name_(std::move(name)) {
    duration_ = duration;
  }
  ~ProbeAction() override {
    if (destroyed_) *destroyed_ = true;
  }
  void startWithTarget(NSObject* target) override {
    CCFiniteTimeAction::startWithTarget(target);
    elapsed_ = 0;
    firstTick_ = true;
    note("start");
  }
  void step(ccSeconds dt) override {
    if (firstTick_)
      firstTick_ = false;
    else
      elapsed_ += dt;
    update(std::min(1.0f, elapsed_ / duration_));
  }
  void update(ccSeconds t) override {
    updates.push_back(t);
    note("update");
    if (onUpdate) onUpdate(this);
  }
  void stop() override {
    note("stop");
    if (onStop) onStop(this);
    CCFiniteTimeAction::stop();
  }
  bool isDone() const override { return elapsed_ >= duration_; }

  std::vector<float> updates;
  std::function<void(ProbeAction*)> onUpdate;
  std::function<void(ProbeAction*)> onStop;
  bool* destroyed_ = nullptr;

 private:
  void note(const char* what) {
    if (log_) log_->push_back(name_ + ":" + what);
  }
  std::vector<std::string>* log_;
  std::string name_;
  ccSeconds elapsed_ = 0;
  bool firstTick_ = true;
};

class CCActionManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { liveBefore_ = NSObject::liveObjectCount(); }
  void TearDown() override {
    CCActionManager::purgeSharedManager();
    CCScheduler::purgeSharedScheduler();
    NSAutoreleasePool::current().drain();
    EXPECT_EQ(NSObject::liveObjectCount(), liveBefore_) << "objects leaked";
  }
  static void frame(ccSeconds dt) {
    CCScheduler::sharedScheduler()->tick(dt);
    NSAutoreleasePool::current().drain();
  }
  static CCActionManager* manager() { return CCActionManager::sharedManager(); }

  std::int64_t liveBefore_ = 0;
};

TEST_F(CCActionManagerTest, TwoSecondActionSeesQuarterStepsAndStopsWithItsLastUpdate) {
  auto node = CCNode::node();
  std::vector<std::string> log;
  auto action = makeObject<ProbeAction>(2.0f, &log, "a");
  manager()->addAction(action, node, false);
  EXPECT_EQ(log, std::vector<std::string>{"a:start"});  // started before any step
  for (int i = 0; i < 4; ++i) frame(0.5f);
  EXPECT_EQ(manager()->numberOfRunningActionsInTarget(node), 1u);
  frame(0.5f);
  EXPECT_EQ(action->updates, (std::vector<float>{0, 0.25f, 0.5f, 0.75f, 1}));
  EXPECT_EQ(log.back(), "a:stop");
  EXPECT_EQ(log[log.size() - 2], "a:update");
  EXPECT_EQ(manager()->numberOfRunningActionsInTarget(node), 0u);
  EXPECT_EQ(manager()->numberOfRunningActions(), 0u);
  EXPECT_EQ(action->retainCount(), 1u);  // the manager let go of it
  EXPECT_EQ(action->target(), nullptr);
  EXPECT_EQ(action->originalTarget(), node.get());
}

TEST_F(CCActionManagerTest, ZeroDurationActionUpdatesWithZeroThenOne) {
  auto node = CCNode::node();
  auto action = makeObject<ProbeAction>(FLT_EPSILON);
  manager()->addAction(action, node, false);
  frame(0.1f);
  EXPECT_EQ(action->updates, std::vector<float>{0});
  EXPECT_EQ(manager()->numberOfRunningActionsInTarget(node), 1u);
  frame(0.1f);
  EXPECT_EQ(action->updates, (std::vector<float>{0, 1}));
  EXPECT_EQ(manager()->numberOfRunningActionsInTarget(node), 0u);
}

TEST_F(CCActionManagerTest, MisuseFailsItsAssertions) {
  auto node = CCNode::node();
  auto action = makeObject<ProbeAction>(1.0f);
  EXPECT_ASSERTION(manager()->addAction(nullptr, node, false), "Argument action must be non-nil");
  EXPECT_ASSERTION(manager()->addAction(action, nullptr, false), "Argument target must be non-nil");
  manager()->addAction(action, node, false);
  EXPECT_ASSERTION(manager()->addAction(action, node, false), "runAction: Action already running");
  EXPECT_ASSERTION(manager()->getActionByTag(-1, node), "Invalid tag");
  EXPECT_ASSERTION(manager()->removeActionByTag(-1, node), "Invalid tag");
  EXPECT_ASSERTION(manager()->removeActionByTag(3, nullptr), "Target should be ! nil");
  EXPECT_ASSERTION(CCActionManager manager2,
                   "Attempted to allocate a second instance of a singleton.");
  // Unknown targets and actions are ignored.
  auto other = CCNode::node();
  manager()->removeAllActionsFromTarget(other);
  manager()->removeAction(makeObject<ProbeAction>(1.0f));
  manager()->removeAction(nullptr);
  manager()->pauseTarget(other);
  EXPECT_EQ(manager()->numberOfRunningActionsInTarget(other), 0u);
  EXPECT_EQ(manager()->getActionByTag(3, other), nullptr);
  EXPECT_EQ(manager()->numberOfRunningActionsInTarget(node), 1u);
}

TEST_F(CCActionManagerTest, TagsFindAndRemoveTheFirstMatchOfTheTarget) {
  auto node = CCNode::node();
  auto a = makeObject<ProbeAction>(1.0f), b = makeObject<ProbeAction>(1.0f);
  a->setTag(7);
  b->setTag(7);
  manager()->addAction(a, node, false);
  manager()->addAction(b, node, false);
  EXPECT_EQ(manager()->getActionByTag(7, node), a.get());
  manager()->removeActionByTag(7, node);
  EXPECT_EQ(manager()->getActionByTag(7, node), b.get());
  EXPECT_EQ(a->retainCount(), 1u);
  manager()->removeActionByTag(8, node);
  EXPECT_EQ(manager()->numberOfRunningActionsInTarget(node), 1u);
}

TEST_F(CCActionManagerTest, PausedTargetKeepsItsProgress) {
  auto node = CCNode::node();
  auto action = makeObject<ProbeAction>(1.0f);
  manager()->addAction(action, node, true);
  frame(0.5f);
  EXPECT_TRUE(action->updates.empty());
  EXPECT_EQ(manager()->numberOfRunningActionsInTarget(node), 1u);  // counted while paused
  manager()->resumeTarget(node);
  frame(0.5f);
  frame(0.5f);
  manager()->pauseTarget(node);
  frame(5.0f);
  manager()->resumeTarget(node);
  frame(0.25f);
  EXPECT_EQ(action->updates, (std::vector<float>{0, 0.5f, 0.75f}));
  // A record that exists keeps its paused value when a new action arrives.
  manager()->pauseTarget(node);
  manager()->addAction(makeObject<ProbeAction>(1.0f), node, false);
  EXPECT_TRUE(manager()->isTargetPaused(node));
}

TEST_F(CCActionManagerTest, ActionRemovingItselfIsNotStoppedAndTheNextStillSteps) {
  auto node = CCNode::node();
  std::vector<std::string> log;
  bool destroyed = false;
  auto* self = new ProbeAction(1.0f, &log, "self");
  self->destroyed_ = &destroyed;
  self->onUpdate = [&](ProbeAction* a) {
    manager()->removeAction(a);
    EXPECT_FALSE(destroyed);  // held until its step returns
  };
  manager()->addAction(self, node, false);
  self->release();
  auto next = makeObject<ProbeAction>(1.0f, &log, "next");
  manager()->addAction(next, node, false);
  log.clear();
  frame(0.1f);
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(log, (std::vector<std::string>{"self:update", "next:update"}));
  EXPECT_EQ(manager()->numberOfRunningActionsInTarget(node), 1u);
}

TEST_F(CCActionManagerTest, ActionRemovingOthersDuringItsStep) {
  auto node = CCNode::node();
  std::vector<std::string> log;
  auto a = makeObject<ProbeAction>(1.0f, &log, "a");
  auto b = makeObject<ProbeAction>(1.0f, &log, "b");
  auto c = makeObject<ProbeAction>(1.0f, &log, "c");
  manager()->addAction(a, node, false);
  manager()->addAction(b, node, false);
  manager()->addAction(c, node, false);
  // b removes a (already stepped, before it) and c (not yet stepped).
  b->onUpdate = [&](ProbeAction*) {
    manager()->removeAction(a);
    manager()->removeAction(c);
  };
  log.clear();
  frame(0.1f);
  EXPECT_EQ(log, (std::vector<std::string>{"a:update", "b:update"}));
  b->onUpdate = nullptr;
  auto d = makeObject<ProbeAction>(1.0f, &log, "d");
  manager()->addAction(d, node, false);
  log.clear();
  frame(0.1f);
  EXPECT_EQ(log, (std::vector<std::string>{"b:update", "d:update"}));
  EXPECT_EQ(a->retainCount(), 1u);
  EXPECT_EQ(c->retainCount(), 1u);
}

TEST_F(CCActionManagerTest, ActionClearingItsTargetDropsTheRecordWithoutStops) {
  std::vector<std::string> log;
  auto node = CCNode::node();
  auto a = makeObject<ProbeAction>(1.0f, &log, "a");
  auto b = makeObject<ProbeAction>(1.0f, &log, "b");
  manager()->addAction(a, node, false);
  manager()->addAction(b, node, false);
  EXPECT_EQ(node->retainCount(), 2u);
  a->onUpdate = [&](ProbeAction*) { manager()->removeAllActionsFromTarget(node); };
  log.clear();
  frame(0.1f);
  EXPECT_EQ(log, std::vector<std::string>{"a:update"});
  EXPECT_EQ(node->retainCount(), 1u);
  EXPECT_EQ(a->retainCount(), 1u);
  EXPECT_EQ(b->retainCount(), 1u);
}

TEST_F(CCActionManagerTest, TargetReleasedByItsOwnActionLivesToTheEndOfItsTurn) {
  bool destroyed = false;
  auto parent = CCNode::node();
  parent->onEnter();
  {
    auto child = CCNode::node();
    parent->addChild(child);
    auto* a = new ProbeAction(1.0f);
    a->destroyed_ = &destroyed;
    a->onUpdate = [](ProbeAction* self) {
      static_cast<CCNode*>(self->target())->removeFromParentAndCleanup(true);
      // The target is still usable after its cleanup within the step.
      EXPECT_EQ(static_cast<CCNode*>(self->target())->parent(), nullptr);
    };
    child->runAction(a);
    a->release();
  }
  frame(0.1f);
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(parent->childrenCount(), 0u);
  EXPECT_EQ(manager()->numberOfRunningActions(), 0u);
  parent->onExit();
}

TEST_F(CCActionManagerTest, StopThatRemovesTheFinishingActionDoesNotLeakIt) {
  auto node = CCNode::node();
  bool destroyed = false;
  auto* a = new ProbeAction(FLT_EPSILON);
  a->destroyed_ = &destroyed;
  a->onStop = [&](ProbeAction*) { manager()->removeAllActionsFromTarget(node); };
  manager()->addAction(a, node, false);
  a->release();
  frame(0.1f);
  frame(0.1f);
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(node->retainCount(), 1u);
}

TEST_F(CCActionManagerTest, ActionsAddedDuringUpdateAreSteppedInTheSamePass) {
  std::vector<std::string> log;
  auto first = CCNode::node(), second = CCNode::node();
  auto a = makeObject<ProbeAction>(1.0f, &log, "a");
  auto same = makeObject<ProbeAction>(1.0f, &log, "same");
  auto other = makeObject<ProbeAction>(1.0f, &log, "other");
  a->onUpdate = [&](ProbeAction*) {
    if (manager()->numberOfRunningActionsInTarget(first) == 1) {
      manager()->addAction(same, first, false);
      manager()->addAction(other, second, false);
    }
  };
  manager()->addAction(a, first, false);
  log.clear();
  frame(0.1f);
  EXPECT_EQ(log, (std::vector<std::string>{"a:update", "same:start", "other:start", "same:update",
                                           "other:update"}));
}

TEST_F(CCActionManagerTest, NodeRunsActionsPausedUntilItEnters) {
  auto node = CCNode::node();
  auto action = makeObject<ProbeAction>(1.0f);
  EXPECT_EQ(node->runAction(action), action.get());
  EXPECT_EQ(action->target(), node.get());  // started at once
  frame(0.1f);
  EXPECT_TRUE(action->updates.empty());
  node->onEnter();
  frame(0.1f);
  frame(0.5f);
  EXPECT_EQ(action->updates, (std::vector<float>{0, 0.5f}));
  node->onExit();
  frame(0.5f);
  EXPECT_EQ(action->updates.size(), 2u);
  EXPECT_EQ(node->numberOfRunningActions(), 1u);
  node->cleanup();
  EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

}  // namespace
