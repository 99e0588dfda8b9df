#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "NSAutoreleasePool.h"
#include "NSRunLoop.h"
#include "NSTimer.h"
#include "TestSupport.h"

namespace {
class Caller : public NSObject {
 public:
  void ping() { calls.push_back("ping"); }
  void pong() { calls.push_back("pong"); }
  void with(NSObject* o) { calls.push_back(o ? "with" : "with-nil"); }
  void tick(NSTimer*) { calls.push_back("tick"); }
  std::vector<std::string> calls;
};

class RunLoopTest : public ::testing::Test {
 protected:
  void TearDown() override {
    loop.reset();
    NSAutoreleasePool::current().drain();
  }
  ScopedVirtualClock clock;
  NSRunLoop& loop = NSRunLoop::mainRunLoop();
};
}  // namespace

TEST_F(RunLoopTest, DelayedCallsRunInTimeOrderAndHoldTheirTarget) {
  auto c = makeObject<Caller>();
  c->performSelector(SELECTOR(Caller::pong), 0.5);
  c->performSelector(SELECTOR(Caller::ping), 0.2);
  EXPECT_EQ(c->retainCount(), 3u) << "each pending call retains the target";
  clock->advance(0.3);
  loop.runDue();
  EXPECT_EQ(c->calls, (std::vector<std::string>{"ping"}));
  clock->advance(0.3);
  loop.runDue();
  EXPECT_EQ(c->calls, (std::vector<std::string>{"ping", "pong"}));
  EXPECT_EQ(c->retainCount(), 1u);
}

TEST_F(RunLoopTest, ClockSetBackOrForwardKeepsWhatIsLeftOfEachDelay) {
  auto c = makeObject<Caller>();
  c->performSelector(SELECTOR(Caller::ping), 0.5);
  NSTimer::scheduledTimerWithTimeInterval(1.0, c.get(), SELECTOR(Caller::tick), false);
  clock->advance(0.2);
  clock->advance(-3600);
  loop.clockDidJump(-3600);
  EXPECT_NEAR(loop.timeUntilNextEvent(), 0.3, 1e-9);
  clock->advance(0.3);
  loop.runDue();
  EXPECT_EQ(c->calls, (std::vector<std::string>{"ping"}));
  clock->advance(0.5);
  loop.runDue();
  EXPECT_EQ(c->calls, (std::vector<std::string>{"ping", "tick"}));

  c->performSelector(SELECTOR(Caller::pong), 0.5);
  clock->advance(86400);
  loop.clockDidJump(86400);
  EXPECT_EQ(loop.runDue(), 0) << "a day forward does not fire what was half a second away";
  clock->advance(0.5);
  loop.runDue();
  EXPECT_EQ(c->calls, (std::vector<std::string>{"ping", "tick", "pong"}));
}

TEST_F(RunLoopTest, CancellationByTargetAndSelector) {
  auto c = makeObject<Caller>(), other = makeObject<Caller>();
  auto arg = makeObject<Caller>();
  c->performSelector(SELECTOR(Caller::ping), 0.1);
  c->performSelector(SELECTOR(Caller::pong), 0.1);
  c->performSelector(SELECTOR(Caller::with), arg.get(), 0.1);
  other->performSelector(SELECTOR(Caller::ping), 0.1);
  NSObject::cancelPreviousPerformRequestsWithTarget(c.get(), SELECTOR(Caller::ping));
  NSObject::cancelPreviousPerformRequestsWithTarget(c.get(), SELECTOR(Caller::with), nullptr);
  EXPECT_EQ(loop.pendingCalls().size(), 3u) << "a different object argument does not match";
  clock->advance(0.2);
  loop.runDue();
  EXPECT_EQ(c->calls, (std::vector<std::string>{"pong", "with"}));
  EXPECT_EQ(other->calls, (std::vector<std::string>{"ping"}));
  c->performSelector(SELECTOR(Caller::ping), 0.1);
  NSObject::cancelPreviousPerformRequestsWithTarget(c.get());
  clock->advance(1);
  loop.runDue();
  EXPECT_EQ(c->calls.size(), 2u);
  EXPECT_EQ(c->retainCount(), 1u);
}

TEST_F(RunLoopTest, RepeatingTimerAndInvalidate) {
  auto c = makeObject<Caller>();
  auto timer = NSTimer::scheduledTimerWithTimeInterval(0.25, c.get(), SELECTOR(Caller::tick), true);
  for (int i = 0; i < 60; ++i) {
    clock->advance(1.0 / 60);
    loop.runDue();
  }
  EXPECT_EQ(c->calls.size(), 4u);
  timer->invalidate();
  clock->advance(1);
  loop.runDue();
  EXPECT_EQ(c->calls.size(), 4u);
  EXPECT_DOUBLE_EQ(loop.timeUntilNextEvent(), -1);
}

TEST_F(RunLoopTest, WorkPostedFromAnotherThreadRunsOnTheMainThread) {
  std::thread::id ranOn;
  std::thread worker([&] { loop.postToMainThread([&] { ranOn = std::this_thread::get_id(); }); });
  worker.join();
  EXPECT_EQ(loop.timeUntilNextEvent(), 0);
  loop.runDue();
  EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(AutoreleasePool, ReleasesOnDrainAndPtrBalances) {
  const auto before = NSObject::liveObjectCount();
  {
    auto object = makeObject<NSObject>();
    Ptr<NSObject> copy = object;
    EXPECT_EQ(object->retainCount(), 2u);
    object->retain()->autorelease();
    EXPECT_EQ(object->retainCount(), 3u);
    NSAutoreleasePool::current().drain();
    EXPECT_EQ(object->retainCount(), 2u);
  }
  EXPECT_EQ(NSObject::liveObjectCount(), before);
  NSObject* loose = new NSObject();
  loose->autorelease();
  EXPECT_EQ(NSObject::liveObjectCount(), before + 1);
  NSAutoreleasePool::current().drain();
  EXPECT_EQ(NSObject::liveObjectCount(), before);
}
