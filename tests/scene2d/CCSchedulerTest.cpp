#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CCScheduler.h"
#include "NSAutoreleasePool.h"
#include "TestSupport.h"

namespace {
std::vector<std::string> gCalls;

class Recorder : public NSObject {
 public:
  explicit Recorder(std::string name) : name_(std::move(name)) {}
  void update(ccSeconds dt) {
    gCalls.push_back(name_ + ":update");
    lastDt = dt;
    if (onUpdate) onUpdate();
  }
  void tickA(ccSeconds dt) {
    gCalls.push_back(name_ + ":A");
    lastDt = dt;
    if (onA) onA();
  }
  void tickB(ccSeconds dt) {
    gCalls.push_back(name_ + ":B");
    lastDt = dt;
  }
  std::string name_;
  ccSeconds lastDt = -1;
  std::function<void()> onUpdate, onA;
};

class SchedulerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gCalls.clear();
    liveBefore = NSObject::liveObjectCount();
    scheduler = CCScheduler::sharedScheduler();
  }
  void TearDown() override {
    CCScheduler::purgeSharedScheduler();
    NSAutoreleasePool::current().drain();
    EXPECT_EQ(NSObject::liveObjectCount(), liveBefore) << "scheduler leaked or over-released";
  }
  Ptr<Recorder> make(const std::string& name) { return makeObject<Recorder>(name); }
  CCScheduler* scheduler = nullptr;
  std::int64_t liveBefore = 0;
};
}  // namespace

TEST_F(SchedulerTest, UpdatesRunByPriorityThenTimers) {
  auto neg = make("neg"), zeroA = make("zeroA"), zeroB = make("zeroB"), pos = make("pos"),
       timer = make("timer");
  scheduler->scheduleSelector(SELECTOR(Recorder::tickA), timer.get(), 0, false);
  scheduler->scheduleUpdateForTarget(pos.get(), 5, false);
  scheduler->scheduleUpdateForTarget(zeroA.get(), 0, false);
  scheduler->scheduleUpdateForTarget(neg.get(), -1, false);
  scheduler->scheduleUpdateForTarget(zeroB.get(), 0, false);
  scheduler->tick(0.1f);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"neg:update", "zeroA:update", "zeroB:update",
                                              "pos:update", "timer:A"}));
}

TEST_F(SchedulerTest, EqualPrioritiesKeepArrivalOrder) {
  auto a = make("a"), b = make("b"), c = make("c");
  scheduler->scheduleUpdateForTarget(a.get(), 3, false);
  scheduler->scheduleUpdateForTarget(b.get(), 1, false);
  scheduler->scheduleUpdateForTarget(c.get(), 3, false);
  scheduler->tick(0);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"b:update", "a:update", "c:update"}));
}

TEST_F(SchedulerTest, TimersFollowTargetInsertionOrder) {
  auto first = make("first"), second = make("second");
  scheduler->scheduleSelector(SELECTOR(Recorder::tickA), second.get(), 0, false);
  scheduler->scheduleSelector(SELECTOR(Recorder::tickA), first.get(), 0, false);
  scheduler->scheduleSelector(SELECTOR(Recorder::tickB), second.get(), 0, false);
  scheduler->tick(0);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"second:A", "second:B", "first:A"}));
}

TEST_F(SchedulerTest, IntervalTimerSkipsFirstFrameAndDropsRemainder) {
  auto r = make("r");
  scheduler->scheduleSelector(SELECTOR(Recorder::tickA), r.get(), 1.0f, false);
  scheduler->tick(0.3f);  // only starts the clock
  EXPECT_TRUE(gCalls.empty());
  scheduler->tick(0.3f);
  scheduler->tick(0.3f);
  EXPECT_TRUE(gCalls.empty());
  scheduler->tick(0.5f);  // 1.1 accumulated
  ASSERT_EQ(gCalls.size(), 1u);
  EXPECT_FLOAT_EQ(r->lastDt, 1.1f);
  scheduler->tick(0.9f);  // restarted from 0, not from 0.1
  EXPECT_EQ(gCalls.size(), 1u);
  scheduler->tick(0.1f);
  EXPECT_EQ(gCalls.size(), 2u);
}

TEST_F(SchedulerTest, ZeroIntervalFiresFirstFrameWithZero) {
  auto r = make("r");
  scheduler->scheduleSelector(SELECTOR(Recorder::tickA), r.get(), 0, false);
  scheduler->tick(0.25f);
  EXPECT_EQ(r->lastDt, 0.0f);
  scheduler->tick(0.25f);
  EXPECT_EQ(r->lastDt, 0.25f);
}

TEST_F(SchedulerTest, TimeScaleScalesEveryDelta) {
  auto u = make("u"), t = make("t");
  scheduler->setTimeScale(0.5f);
  scheduler->scheduleUpdateForTarget(u.get(), 0, false);
  scheduler->scheduleSelector(SELECTOR(Recorder::tickA), t.get(), 0, false);
  scheduler->tick(0.2f);
  scheduler->tick(0.2f);
  EXPECT_FLOAT_EQ(u->lastDt, 0.1f);
  EXPECT_FLOAT_EQ(t->lastDt, 0.1f);
}

TEST_F(SchedulerTest, TimerUnschedulingItselfKeepsSiblingsRunning) {
  auto r = make("r");
  scheduler->scheduleSelector(SELECTOR(Recorder::tickA), r.get(), 0, false);
  scheduler->scheduleSelector(SELECTOR(Recorder::tickB), r.get(), 0, false);
  r->onA = [&] { scheduler->unscheduleSelector(SELECTOR(Recorder::tickA), r.get()); };
  scheduler->tick(0);
  scheduler->tick(0);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"r:A", "r:B", "r:B"}));
}

TEST_F(SchedulerTest, TargetUnschedulingEverythingDuringItsTimer) {
  auto r = make("r"), other = make("other");
  scheduler->scheduleSelector(SELECTOR(Recorder::tickA), r.get(), 0, false);
  scheduler->scheduleSelector(SELECTOR(Recorder::tickB), r.get(), 0, false);
  scheduler->scheduleSelector(SELECTOR(Recorder::tickA), other.get(), 0, false);
  r->onA = [&] { scheduler->unscheduleAllSelectorsForTarget(r.get()); };
  const unsigned before = r->retainCount();
  scheduler->tick(0);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"r:A", "other:A"}));
  EXPECT_EQ(scheduler->timerTargetCount(), 1u);
  NSAutoreleasePool::current().drain();
  EXPECT_EQ(r->retainCount(), before - 1) << "the scheduler's reference was not given up";
}

TEST_F(SchedulerTest, UpdateRemovingAnotherEntryDuringTheWalk) {
  auto a = make("a"), b = make("b"), c = make("c");
  scheduler->scheduleUpdateForTarget(a.get(), 0, false);
  scheduler->scheduleUpdateForTarget(b.get(), 0, false);
  scheduler->scheduleUpdateForTarget(c.get(), 0, false);
  a->onUpdate = [&] {
    scheduler->unscheduleUpdateForTarget(b.get());
    scheduler->scheduleUpdateForTarget(make("late").get(), 0, false);
  };
  scheduler->tick(0);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"a:update", "c:update"}));
  gCalls.clear();
  a->onUpdate = nullptr;
  scheduler->tick(0);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"a:update", "c:update", "late:update"}));
}

TEST_F(SchedulerTest, PausedTargetIsSkipped) {
  auto p = make("p"), q = make("q");
  scheduler->scheduleUpdateForTarget(p.get(), 0, false);
  scheduler->scheduleSelector(SELECTOR(Recorder::tickA), p.get(), 0, false);
  scheduler->scheduleUpdateForTarget(q.get(), 0, false);
  scheduler->pauseTarget(p.get());
  scheduler->tick(0);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"q:update"}));
  scheduler->resumeTarget(p.get());
  gCalls.clear();
  scheduler->tick(0);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"p:update", "q:update", "p:A"}));
}

TEST_F(SchedulerTest, Assertions) {
  auto p = make("p");
  scheduler->scheduleSelector(SELECTOR(Recorder::tickA), p.get(), 0, true);
  EXPECT_ASSERTION(scheduler->scheduleSelector(SELECTOR(Recorder::tickB), p.get(), 0, false),
                   "CCScheduler. Trying to schedule a selector with a pause value different than "
                   "the target");
  EXPECT_ASSERTION(scheduler->scheduleSelector(SELECTOR(Recorder::tickB), nullptr, 0, false),
                   "Argument target must be non-nil");
  EXPECT_ASSERTION(new CCScheduler(), "Attempted to allocate a second instance of a singleton.");
  EXPECT_ASSERTION(CCTimer(), "CCTimer: Init not supported.");
  EXPECT_ASSERTION(scheduler->pauseTarget(nullptr), "target must be non nil");
}

TEST_F(SchedulerTest, SchedulingTwiceOnlyChangesTheInterval) {
  auto r = make("r");
  scheduler->scheduleSelector(SELECTOR(Recorder::tickA), r.get(), 5, false);
  scheduler->scheduleSelector(SELECTOR(Recorder::tickA), r.get(), 0, false);
  scheduler->tick(0);
  EXPECT_EQ(gCalls.size(), 1u);
  scheduler->unscheduleSelector(SELECTOR(Recorder::tickA), r.get());
  scheduler->unscheduleSelector(SELECTOR(Recorder::tickA), r.get());  // ignored
  EXPECT_EQ(scheduler->timerTargetCount(), 0u);
}
