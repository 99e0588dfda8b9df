#include "lumoTurnMachine.h"

#include <gtest/gtest.h>

#include <vector>

#include "NSUserDefaults.h"
#include "TestSupport.h"

namespace {

class lumoTurnMachineTest : public testing::Test {
 protected:
  void SetUp() override {
    NSUserDefaults::resetStandardUserDefaults(dir.file("defaults.json"));
    machine.setLockListener([this](bool locked) { lockEvents.push_back(locked); });
  }
  void TearDown() override { NSUserDefaults::resetStandardUserDefaults(); }

  void expectUnlocked() {
    EXPECT_FALSE(machine.dragsLocked());
    EXPECT_TRUE(machine.tiltAllowed());
  }
  void expectLocked() {
    EXPECT_TRUE(machine.dragsLocked());
    EXPECT_FALSE(machine.tiltAllowed());
  }

  TempDir dir;
  lumoTurnMachine machine{18};
  std::vector<bool> lockEvents;
};

TEST_F(lumoTurnMachineTest, ATurnHoldsTheLockFromItsRequestUntilThePageSettles) {
  const std::optional<std::int32_t> next = machine.requestTurn(lumoTurn::kForward);
  ASSERT_EQ(next, 2);
  // The page is still the one being left until the turn leaves it.
  EXPECT_EQ(machine.page(), 1);
  expectLocked();
  machine.turnTo(*next);
  EXPECT_EQ(machine.page(), 2);
  expectLocked();
  machine.settled();
  expectUnlocked();
  EXPECT_EQ(lockEvents, (std::vector<bool>{true, false}));

  machine.turnTo(5);
  EXPECT_EQ(machine.requestTurn(lumoTurn::kBack), 4);
}

TEST_F(lumoTurnMachineTest, AtTheBooksEndsARequestTakesAndReleasesTheLockAtOnce) {
  EXPECT_EQ(machine.requestTurn(lumoTurn::kBack), std::nullopt);
  expectUnlocked();
  machine.turnTo(18);
  EXPECT_TRUE(machine.isLastPage());
  EXPECT_EQ(machine.requestTurn(lumoTurn::kForward), std::nullopt);
  expectUnlocked();
  EXPECT_EQ(machine.page(), 18);
  EXPECT_EQ(lockEvents, (std::vector<bool>{true, false, true, false}));
}

TEST_F(lumoTurnMachineTest, AJumpGoesThroughTheLockAndTheCreditsLockOnlyDrags) {
  machine.turnTo(9);
  machine.jumpTo(1);
  EXPECT_EQ(machine.page(), 1);
  expectLocked();
  machine.settled();
  expectUnlocked();

  // The credits screen stops drags and keys, not the tilt nor the home button.
  machine.creditsOpened();
  EXPECT_TRUE(machine.dragsLocked());
  EXPECT_TRUE(machine.tiltAllowed());
  machine.creditsClosed();
  expectUnlocked();
  EXPECT_EQ(lockEvents, (std::vector<bool>{true, false}));
}

TEST_F(lumoTurnMachineTest, AControlsJumpIsRefusedDuringATurnButNotUnderTheCreditsLock) {
  machine.turnTo(18);
  ASSERT_EQ(machine.requestTurn(lumoTurn::kBack), 17);
  machine.turnTo(17);
  EXPECT_FALSE(machine.jumpUnlessTurning(1));
  EXPECT_EQ(machine.page(), 17);
  machine.settled();
  EXPECT_TRUE(machine.jumpUnlessTurning(1));
  EXPECT_FALSE(machine.jumpUnlessTurning(2));  // the jump holds the lock as a turn does
  EXPECT_EQ(machine.page(), 1);
  machine.settled();

  machine.creditsOpened();
  EXPECT_TRUE(machine.jumpUnlessTurning(5));
  EXPECT_EQ(machine.page(), 5);
}

TEST_F(lumoTurnMachineTest, OneFigureSpeaksAtATimeUntilARecordingEnds) {
  EXPECT_FALSE(machine.figureStarts("s1layer2l-t"));  // not ready before set-up says so
  machine.setFiguresReady(true);
  EXPECT_TRUE(machine.figureStarts("s1layer2l-t"));
  EXPECT_EQ(machine.info()->normalElementInTouch(), "s1layer2l-t");
  EXPECT_FALSE(machine.figureStarts("s1layer2r-t"));
  EXPECT_EQ(machine.info()->normalElementInTouch(), "s1layer2l-t");
  // Its rocking ends long before its line: still no other figure.
  machine.figureStoppedMoving();
  EXPECT_EQ(machine.info()->normalElementInTouch(), "");
  EXPECT_FALSE(machine.figuresReady());
  machine.recordingEnded();
  EXPECT_TRUE(machine.figureStarts("s1layer2r-t"));
  // A figure with nothing to say leaves the others ready.
  machine.figureStaysSilent();
  EXPECT_TRUE(machine.figuresReady());
}

TEST_F(lumoTurnMachineTest, TheLanguageIsRestoredFromItsStoreAndAChangeIsStored) {
  NSUserDefaults& defaults = NSUserDefaults::standardUserDefaults();
  machine.restoreLanguage();
  EXPECT_EQ(machine.language(), lmStageInfo::kLangRussian);
  EXPECT_EQ(defaults.stringForKey(lmStageInfo::kLanguageDefaultsKey), "2000");

  machine.changeLanguage(lmStageInfo::kLangEnglish);
  EXPECT_EQ(machine.language(), lmStageInfo::kLangEnglish);
  EXPECT_EQ(defaults.stringForKey(lmStageInfo::kLanguageDefaultsKey), "2001");

  lumoTurnMachine restarted{18};
  restarted.restoreLanguage();
  EXPECT_EQ(restarted.language(), lmStageInfo::kLangEnglish);
}

}  // namespace
