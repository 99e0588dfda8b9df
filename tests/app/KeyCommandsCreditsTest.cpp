#include <gtest/gtest.h>

#include <cstdlib>

#include "CCDirector.h"
#include "CCSharedServices.h"
#include "KeyCommands.h"
#include "MobClick.h"
#include "NSAutoreleasePool.h"
#include "NSNotificationCenter.h"
#include "NSRunLoop.h"
#include "TestSupport.h"
#include "UIApplication.h"
#include "UIDevice.h"
#include "lumoAppDelegate.h"
#include "lumoServices.h"

namespace {
class FinishCounter : public NSObject {
 public:
  FinishCounter() {
    NSNotificationCenter::defaultCenter().addObserver(this, SELECTOR(FinishCounter::heard),
                                                      "creditsdidfinishnotification", nullptr);
  }
  ~FinishCounter() override { NSNotificationCenter::defaultCenter().removeObserver(this); }
  void heard(NSNotification*) { ++count; }
  int count = 0;
};

// The launched book with its keys, as the program wires them.
class KeyCommandsCredits : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_STATE_HOME", state_.path().c_str(), 1);
    delegate_ = makeObject<lumoAppDelegate>();
    delegate_->applicationDidFinishLaunching(&UIApplication::sharedApplication());
    ASSERT_TRUE(delegate_->launched());
    keys_ = std::make_unique<KeyCommands>(KeyCommands::hooksFor(delegate_.get()));
  }
  void TearDown() override {
    keys_ = nullptr;
    UIDevice::currentDevice().setOrientation(UIDeviceOrientationLandscapeLeft);
    delegate_->applicationWillTerminate(&UIApplication::sharedApplication());
    // As the program closes: what the reading left running, then the shared services.
    lumoServices::stopReading();
    delegate_ = nullptr;
    CCSharedServices::purgeAll();
    MobClick::reset();
    NSRunLoop::mainRunLoop().reset();
    NSAutoreleasePool::current().drain();
    unsetenv("XDG_STATE_HOME");
  }
  void run(double seconds) {
    for (double t = 0; t < seconds; t += 1.0 / 60) {
      clock_->advance(1.0 / 60);
      NSRunLoop::mainRunLoop().runDue();
      CCDirector::sharedDirector()->drawScene();
      NSAutoreleasePool::current().drain();
    }
  }
  void escape(bool repeat = false) { keys_->keyPressed({"Escape", repeat}); }

  ScopedVirtualClock clock_;
  TempDir state_;
  Ptr<lumoAppDelegate> delegate_;
  std::unique_ptr<KeyCommands> keys_;
};
}  // namespace

// Escape closes the credits as their back button does, once; without them it does nothing.
TEST_F(KeyCommandsCredits, EscapeClosesTheCreditsAsTheBackButton) {
  FinishCounter finished;
  escape();
  run(0.5);
  EXPECT_EQ(finished.count, 0) << "no credits: nothing to close";

  NSNotificationCenter::defaultCenter().postNotificationName("lmShouldShowCredits", nullptr,
                                                             {{"isEnLan", false}});
  run(0.1);
  ASSERT_NE(delegate_->creditsView(), nullptr);
  escape(true);  // a key held since before the credits opened
  run(0.4);
  EXPECT_NE(delegate_->creditsView(), nullptr);
  escape();
  escape();
  run(0.1);
  EXPECT_EQ(finished.count, 0) << "closed before the back button's animation ended";
  run(0.3);
  EXPECT_EQ(delegate_->creditsView(), nullptr);
  EXPECT_EQ(finished.count, 1);
  escape();
  run(0.5);
  EXPECT_EQ(finished.count, 1);
  ASSERT_NE(delegate_->cc3World(), nullptr);
  EXPECT_EQ(delegate_->cc3World()->stageInfo()->curStageIndex(), 1);
}
