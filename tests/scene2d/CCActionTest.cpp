#include "CCAction.h"

#include <gtest/gtest.h>

#include <vector>

#include "CCActionInterval.h"
#include "CCActionManager.h"
#include "CCNode.h"
#include "CCScheduler.h"
#include "NSAutoreleasePool.h"
#include "TestSupport.h"

namespace {

// Records the progress values it is updated with.
class Recorder : public CCActionInterval {
 public:
  explicit Recorder(ccSeconds duration, std::vector<float>* seen) : seen_(seen) {
    initWithDuration(duration);
  }
  Recorder* copyWithZone(NSZone*) const override { return new Recorder(duration_, seen_); }
  void update(ccSeconds t) override { seen_->push_back(t); }
  void stop() override {
    ++stops;
    CCActionInterval::stop();
  }
  Ptr<CCFiniteTimeAction> reverse() const override {
    return Ptr<CCFiniteTimeAction>::adopt(new Recorder(duration_ * 2, seen_));
  }
  int stops = 0;

 private:
  std::vector<float>* seen_;
};

class CCActionTest : public ::testing::Test {
 protected:
  void SetUp() override { liveBefore_ = NSObject::liveObjectCount(); }
  void TearDown() override {
    CCActionManager::purgeSharedManager();
    CCScheduler::purgeSharedScheduler();
    NSAutoreleasePool::current().drain();
    EXPECT_EQ(NSObject::liveObjectCount(), liveBefore_) << "objects leaked";
  }
  static void frames(int n, ccSeconds dt) {
    for (int i = 0; i < n; ++i) CCScheduler::sharedScheduler()->tick(dt);
  }
  std::int64_t liveBefore_ = 0;
};

TEST_F(CCActionTest, RepeatForeverRestartsAtZeroOnTheStepThatFinishesARound) {
  std::vector<float> seen;
  auto node = CCNode::node();
  auto inner = makeObject<Recorder>(1.0f, &seen);
  auto forever = CCRepeatForever::actionWithAction(inner);
  CCActionManager::sharedManager()->addAction(forever, node, false);
  frames(7, 0.5f);
  EXPECT_EQ(seen, (std::vector<float>{0, 0.5f, 1, 0, 0.5f, 1, 0, 0.5f, 1, 0}));
  EXPECT_FALSE(forever->isDone());
  EXPECT_EQ(node->numberOfRunningActions(), 1u);
  EXPECT_EQ(inner->stops, 0);  // a round is restarted, not stopped
}

TEST_F(CCActionTest, SpeedScalesTimeAndStopsItsInnerAction) {
  std::vector<float> seen;
  auto node = CCNode::node();
  auto inner = makeObject<Recorder>(1.0f, &seen);
  auto fast = CCSpeed::actionWithAction(inner, 2);
  CCActionManager::sharedManager()->addAction(fast, node, false);
  frames(4, 0.25f);
  EXPECT_EQ(seen, (std::vector<float>{0, 0.5f, 1}));
  EXPECT_EQ(inner->stops, 1);
  EXPECT_EQ(inner->target(), nullptr);
  EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

TEST_F(CCActionTest, CopiesAreDeepAndUnstartedAndReversesWrapTheInnerReverse) {
  std::vector<float> seen;
  auto node = CCNode::node();
  auto inner = makeObject<Recorder>(1.5f, &seen);
  auto forever = CCRepeatForever::actionWithAction(inner);
  forever->setTag(4);
  forever->startWithTarget(node);
  auto copy = copyAction(forever.get());
  EXPECT_NE(copy->innerAction(), inner.get());
  EXPECT_FLOAT_EQ(copy->innerAction()->duration(), 1.5f);
  EXPECT_EQ(copy->target(), nullptr);
  EXPECT_EQ(copy->innerAction()->target(), nullptr);
  auto back = forever->reverse();
  ASSERT_TRUE(back);
  EXPECT_FLOAT_EQ(back->innerAction()->duration(), 3.0f);

  auto speed = CCSpeed::actionWithAction(inner, 0.5f);
  auto speedCopy = copyAction(speed.get());
  EXPECT_FLOAT_EQ(speedCopy->speed(), 0.5f);
  EXPECT_NE(speedCopy->innerAction(), inner.get());
  auto speedBack = speed->reverse();
  ASSERT_TRUE(speedBack);
  EXPECT_FLOAT_EQ(speedBack->speed(), 0.5f);
  EXPECT_FLOAT_EQ(speedBack->innerAction()->duration(), 3.0f);

  // The base copies the tag only; finite actions keep the duration and have no reverse.
  auto base = CCAction::action();
  base->setTag(9);
  base->startWithTarget(node);
  auto baseCopy = base->copy();
  EXPECT_EQ(baseCopy->tag(), 9);
  EXPECT_EQ(baseCopy->target(), nullptr);
  EXPECT_TRUE(baseCopy->isDone());
  EXPECT_EQ(base->description().find("<CCAction = "), 0u);
  EXPECT_NE(base->description().find("| Tag = 9>"), std::string::npos);
}

}  // namespace
