#include "Assert.h"
#include "KstSound.h"
#include "lumoWorldReadingFixture.h"

namespace {

class lumoWorldKeysTest : public lumoWorldReadingTest {
 protected:
  bool hasPending(const std::string& selector) {
    for (const auto& call : NSRunLoop::mainRunLoop().pendingCalls())
      if (call.selector == selector) return true;
    return false;
  }
};

TEST_F(lumoWorldKeysTest, TurnKeysGoThroughTheLockOncePerTurn) {
  turnTo(3);
  EXPECT_TRUE(world->requestTurnFromKey(0));
  EXPECT_EQ(info()->curStageIndex(), 4);
  EXPECT_TRUE(info()->lockDrag());
  // Auto-repeat and a key the other way while the page turns: refused, nothing queued.
  for (int i = 0; i < 20; ++i) {
    EXPECT_FALSE(world->requestTurnFromKey(0));
    EXPECT_FALSE(world->requestTurnFromKey(1));
    advance(0.05);
  }
  EXPECT_EQ(info()->curStageIndex(), 4);
  settle();
  EXPECT_EQ(grounds(), std::vector<std::string>{"ground4"});
  EXPECT_FALSE(info()->lockDrag());

  EXPECT_TRUE(world->requestTurnFromKey(1));
  EXPECT_EQ(info()->curStageIndex(), 3);
  settle();
  EXPECT_EQ(grounds(), std::vector<std::string>{"ground3"});
}

TEST_F(lumoWorldKeysTest, AtTheBooksEndsAKeyTakesAndReleasesTheLock) {
  EXPECT_TRUE(world->requestTurnFromKey(1));
  EXPECT_EQ(info()->curStageIndex(), 1);
  EXPECT_FALSE(info()->lockDrag());
  EXPECT_EQ(grounds(), std::vector<std::string>{"ground1"});
}

TEST_F(lumoWorldKeysTest, ForwardFromTheCoverCancelsTheWaitingDragHintBackDoesNot) {
  world->performSelector(SELECTOR(lumoWorld::addHelpAlert), 2.0);
  world->requestTurnFromKey(1);
  EXPECT_TRUE(hasPending("lumoWorld::addHelpAlert"));
  world->requestTurnFromKey(0);
  EXPECT_FALSE(hasPending("lumoWorld::addHelpAlert"));
  EXPECT_EQ(info()->curStageIndex(), 2);
}

TEST_F(lumoWorldKeysTest, HomeKeyActsOnlyWhileTheHomeButtonCanBeTapped) {
  EXPECT_FALSE(world->requestHomeFromKey());  // the cover has no home button
  turnTo(3);
  KstSound::shared()->playSpecialSoundWithName("b_snore", "mp3");

  // Hidden while a turn runs.
  world->reflashStage(0);
  EXPECT_FALSE(world->requestHomeFromKey());
  settle();
  ASSERT_TRUE(node("home-btn"));
  node("home-btn")->setIsTouchEnabled(false);
  EXPECT_FALSE(world->requestHomeFromKey());
  node("home-btn")->setIsTouchEnabled(true);

  // As a tap: straight back to the cover with the backward animation, sounds stopped.
  KstSound::shared()->playSpecialSoundWithName("b_snore", "mp3");
  EXPECT_TRUE(world->requestHomeFromKey());
  EXPECT_EQ(info()->curStageIndex(), 1);
  EXPECT_TRUE(info()->lockDrag());
  EXPECT_FALSE(node("home-btn")->visible());
  EXPECT_EQ(KstSound::shared()->playingSpecialSoundName(), "");
  EXPECT_FALSE(world->requestHomeFromKey());  // a repeat during the jump
  settle();
  EXPECT_EQ(grounds(), std::vector<std::string>{"ground1"});
  EXPECT_EQ(node("home-btn"), nullptr);
  EXPECT_FALSE(world->requestHomeFromKey());
}

TEST_F(lumoWorldKeysTest, OnlyForwardAndBackAreDirections) {
  EXPECT_THROW(world->requestTurnFromKey(2), AssertionFailure);
  EXPECT_THROW(world->requestTurnFromKey(-1), AssertionFailure);
  EXPECT_EQ(info()->curStageIndex(), 1);
}

}  // namespace
