#include "CCTouchDispatcher.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "NSAutoreleasePool.h"
#include "TestSupport.h"

namespace {

std::vector<std::string> gCalls;

std::string names(const UITouchSet& set, const std::vector<UITouch*>& touches) {
  std::string out;
  for (UITouch* t : set)
    for (std::size_t i = 0; i < touches.size(); ++i)
      if (touches[i] == t) out += std::to_string(i);
  return out;
}

class Targeted : public NSObject, public CCTargetedTouchDelegate {
 public:
  Targeted(std::string name, bool claim) : name_(std::move(name)), claim_(claim) {}
  bool ccTouchBegan(UITouch*, UIEvent*) override {
    gCalls.push_back(name_ + ":began");
    if (onBegan) onBegan();
    return claim_;
  }
  void ccTouchMoved(UITouch*, UIEvent*) override { gCalls.push_back(name_ + ":moved"); }
  void ccTouchEnded(UITouch*, UIEvent*) override {
    gCalls.push_back(name_ + ":ended");
    if (onEnded) onEnded();
  }
  void ccTouchCancelled(UITouch*, UIEvent*) override { gCalls.push_back(name_ + ":cancelled"); }
  int targetedTouchPhases() const override { return phases; }
  std::function<void()> onBegan, onEnded;
  int phases = kCCTouchSelectorAllBits;

 private:
  std::string name_;
  bool claim_;
};

class Standard : public NSObject, public CCStandardTouchDelegate {
 public:
  explicit Standard(std::string name, const std::vector<UITouch*>* touches = nullptr)
      : name_(std::move(name)), touches_(touches) {}
  void ccTouchesBegan(const UITouchSet& s, UIEvent*) override { note("began", s); }
  void ccTouchesMoved(const UITouchSet& s, UIEvent*) override { note("moved", s); }
  void ccTouchesEnded(const UITouchSet& s, UIEvent*) override { note("ended", s); }
  void ccTouchesCancelled(const UITouchSet& s, UIEvent*) override { note("cancelled", s); }

 private:
  void note(const char* phase, const UITouchSet& s) {
    gCalls.push_back(name_ + ":" + phase + (touches_ ? "[" + names(s, *touches_) + "]" : ""));
  }
  std::string name_;
  const std::vector<UITouch*>* touches_;
};

class CCTouchDispatcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gCalls.clear();
    CCTouchDispatcher::purgeSharedDispatcher();  // a fresh one for each test
    liveBefore_ = NSObject::liveObjectCount();
    dispatcher = CCTouchDispatcher::sharedDispatcher();
    for (int i = 0; i < 2; ++i) touches.push_back(new UITouch(nullptr, {10.f * i, 0}, 0));
  }
  void TearDown() override {
    CCTouchDispatcher::purgeSharedDispatcher();
    for (UITouch* t : touches) t->release();
    NSAutoreleasePool::current().drain();
    EXPECT_EQ(NSObject::liveObjectCount(), liveBefore_) << "objects leaked";
  }
  void phase(int idx, UITouchSet set) { dispatcher->touches(set, nullptr, unsigned(idx)); }

  CCTouchDispatcher* dispatcher = nullptr;
  std::vector<UITouch*> touches;
  std::int64_t liveBefore_ = 0;
};

using Calls = std::vector<std::string>;

TEST_F(CCTouchDispatcherTest, SwallowingHandlerHidesItsTouchFromEveryoneAfterIt) {
  auto menu = makeObject<Targeted>("menu", true);
  auto layer = makeObject<Targeted>("layer", true);
  auto plain = makeObject<Standard>("plain", &touches);
  dispatcher->addTargetedDelegate(layer, 0, true);
  dispatcher->addTargetedDelegate(menu, -128, true);
  dispatcher->addStandardDelegate(plain, 0);
  UITouch* t = touches[0];
  phase(kCCTouchBegan, {t});
  phase(kCCTouchMoved, {t});
  phase(kCCTouchEnded, {t});
  EXPECT_EQ(gCalls, (Calls{"menu:began", "menu:moved", "menu:ended"}));
  EXPECT_EQ(dispatcher->targetedHandlers()[0]->claimedTouchCount(), 0u);
}

TEST_F(CCTouchDispatcherTest, DeclinedTouchGoesOnToTheNextHandler) {
  auto menu = makeObject<Targeted>("menu", false);
  auto layer = makeObject<Targeted>("layer", true);
  dispatcher->addTargetedDelegate(menu, -128, true);
  dispatcher->addTargetedDelegate(layer, 0, true);
  phase(kCCTouchBegan, {touches[0]});
  phase(kCCTouchEnded, {touches[0]});
  EXPECT_EQ(gCalls, (Calls{"menu:began", "layer:began", "layer:ended"}));
}

TEST_F(CCTouchDispatcherTest, LaterRegistrationOfEqualPriorityIsAskedFirst) {
  auto first = makeObject<Targeted>("first", false);
  auto second = makeObject<Targeted>("second", false);
  auto low = makeObject<Targeted>("low", false);
  dispatcher->addTargetedDelegate(low, 5, false);
  dispatcher->addTargetedDelegate(first, 0, false);
  dispatcher->addTargetedDelegate(second, 0, false);
  phase(kCCTouchBegan, {touches[0]});
  EXPECT_EQ(gCalls, (Calls{"second:began", "first:began", "low:began"}));
  EXPECT_ASSERTION(dispatcher->addTargetedDelegate(first, 3, true),
                   "Delegate already added to touch dispatcher.");
  EXPECT_ASSERTION(dispatcher->setPriority(1, first),
                   "Set priority no implemented yet. Don't forget to report this bug!");
  EXPECT_ASSERTION(dispatcher->touches({}, nullptr, 4), "Invalid idx value");
  EXPECT_ASSERTION(dispatcher->addStandardDelegate(nullptr, 0), "Touch delegate may not be nil");
  EXPECT_ASSERTION(makeObject<CCTouchDispatcher>(),
                   "Attempted to allocate a second instance of a singleton.");
}

TEST_F(CCTouchDispatcherTest, NonSwallowingClaimersAllSeeTheTouchAndStandardGetsIt) {
  auto a = makeObject<Targeted>("a", true);
  auto b = makeObject<Targeted>("b", true);
  auto plain = makeObject<Standard>("plain", &touches);
  dispatcher->addTargetedDelegate(a, 0, false);
  dispatcher->addTargetedDelegate(b, 1, false);
  dispatcher->addStandardDelegate(plain, 0);
  phase(kCCTouchBegan, {touches[0]});
  phase(kCCTouchCancelled, {touches[0]});
  EXPECT_EQ(gCalls, (Calls{"a:began", "b:began", "plain:began[0]", "a:cancelled", "b:cancelled",
                           "plain:cancelled[0]"}));
}

TEST_F(CCTouchDispatcherTest, StandardDelegatesGetOnlyTheUnswallowedTouches) {
  auto claimer = makeObject<Targeted>("claimer", true);
  auto plain = makeObject<Standard>("plain", &touches);
  dispatcher->addTargetedDelegate(claimer, 0, true);
  dispatcher->addStandardDelegate(plain, 0);
  phase(kCCTouchBegan, {touches[0], touches[1]});
  // Both claimed and swallowed: the standard delegate gets nothing.
  EXPECT_EQ(gCalls, (Calls{"claimer:began", "claimer:began"}));
  gCalls.clear();
  phase(kCCTouchMoved, {touches[0], touches[1]});
  EXPECT_EQ(gCalls, (Calls{"claimer:moved", "claimer:moved"}));
  // A third touch nobody claimed goes only to the standard delegate.
  auto* stray = new UITouch(nullptr, {5, 5}, 0);
  touches.push_back(stray);
  gCalls.clear();
  phase(kCCTouchMoved, {touches[0], stray});
  EXPECT_EQ(gCalls, (Calls{"claimer:moved", "plain:moved[2]"}));
}

TEST_F(CCTouchDispatcherTest, OneOfTwoTouchesSwallowed) {
  // Claims the first touch it is asked about only.
  class FirstOnly : public NSObject, public CCTargetedTouchDelegate {
   public:
    bool ccTouchBegan(UITouch*, UIEvent*) override { return asked_++ == 0; }
    int asked_ = 0;
  };
  auto first = makeObject<FirstOnly>();
  auto plain = makeObject<Standard>("plain", &touches);
  dispatcher->addTargetedDelegate(first, 0, true);
  dispatcher->addStandardDelegate(plain, 0);
  phase(kCCTouchBegan, {touches[0], touches[1]});
  EXPECT_EQ(gCalls, (Calls{"plain:began[1]"}));
}

TEST_F(CCTouchDispatcherTest, OnlyTargetedHandlersDispatchTheSetAsGiven) {
  auto a = makeObject<Targeted>("a", true);
  dispatcher->addTargetedDelegate(a, 0, true);
  UITouchSet set{touches[0], touches[1]};
  phase(kCCTouchBegan, set);
  EXPECT_EQ(gCalls, (Calls{"a:began", "a:began"}));
  EXPECT_EQ(set.size(), 2u);
}

TEST_F(CCTouchDispatcherTest, HandlerRemovedDuringItsOwnCallbackGoesAfterTheSet) {
  auto a = makeObject<Targeted>("a", true);
  auto late = makeObject<Targeted>("late", true);
  dispatcher->addTargetedDelegate(a, 0, false);
  bool once = false;
  a->onEnded = [&] {
    dispatcher->removeDelegate(a);
    if (!std::exchange(once, true)) dispatcher->addTargetedDelegate(late, -1, false);
    EXPECT_EQ(dispatcher->targetedHandlers().size(), 1u);  // nothing changes yet
  };
  phase(kCCTouchBegan, {touches[0], touches[1]});
  gCalls.clear();
  phase(kCCTouchEnded, {touches[0], touches[1]});
  // Still registered for the second touch of the set; the newcomer sees nothing.
  EXPECT_EQ(gCalls, (Calls{"a:ended", "a:ended"}));
  ASSERT_EQ(dispatcher->targetedHandlers().size(), 1u);
  EXPECT_EQ(dispatcher->targetedHandlers()[0]->delegate(), late.get());
  EXPECT_EQ(a->retainCount(), 1u);
}

TEST_F(CCTouchDispatcherTest, RemoveAllDuringDispatchAndDisabledDispatch) {
  auto a = makeObject<Targeted>("a", true);
  auto plain = makeObject<Standard>("plain");
  dispatcher->addTargetedDelegate(a, 0, false);
  dispatcher->addStandardDelegate(plain, 0);
  a->onBegan = [&] { dispatcher->removeAllDelegates(); };
  phase(kCCTouchBegan, {touches[0]});
  EXPECT_EQ(gCalls, (Calls{"a:began", "plain:began"}));
  EXPECT_TRUE(dispatcher->targetedHandlers().empty());
  EXPECT_TRUE(dispatcher->standardHandlers().empty());

  a->onBegan = nullptr;
  dispatcher->addTargetedDelegate(a, 0, false);
  dispatcher->addStandardDelegate(plain, 0);
  gCalls.clear();
  dispatcher->setDispatchEvents(false);
  dispatcher->touchesBegan({touches[0]}, nullptr);
  dispatcher->touchesMoved({touches[0]}, nullptr);
  dispatcher->touchesEnded({touches[0]}, nullptr);
  dispatcher->touchesCancelled({touches[0]}, nullptr);
  EXPECT_TRUE(gCalls.empty());
  dispatcher->setDispatchEvents(true);
  dispatcher->touchesBegan({touches[0]}, nullptr);
  EXPECT_EQ(gCalls, (Calls{"a:began", "plain:began"}));
}

TEST_F(CCTouchDispatcherTest, PhasesTheDelegateDoesNotWantAreNotCalledButStillClaimed) {
  auto a = makeObject<Targeted>("a", true);
  a->phases = kCCTouchSelectorBeganBit | kCCTouchSelectorEndedBit;
  auto plain = makeObject<Standard>("plain");
  dispatcher->addTargetedDelegate(a, 0, true);
  dispatcher->addStandardDelegate(plain, 0);
  phase(kCCTouchBegan, {touches[0]});
  phase(kCCTouchMoved, {touches[0]});
  phase(kCCTouchEnded, {touches[0]});
  EXPECT_EQ(gCalls, (Calls{"a:began", "a:ended"}));
}

}  // namespace
