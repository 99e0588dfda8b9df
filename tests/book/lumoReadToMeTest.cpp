#include <gtest/gtest.h>

#include <optional>

#include "lumoReadToMe.h"

// The scheduler as the world drives it: a page settles, its narration starts
// and ends, the reader acts; a fake run loop holds the one pending call.
class lumoReadToMeTest : public ::testing::Test {
 protected:
  std::optional<double> pending;
  int turns = 0;
  lumoReadToMe reader{
      {[this](double s) { pending = s; }, [this] { pending.reset(); }, [this] { ++turns; }}};

  void fire() {
    ASSERT_TRUE(pending);
    pending.reset();
    reader.due();
  }
  void readPage(bool last = false) {
    reader.pageSettled(last, false);
    reader.narrationStarted();
    reader.narrationEnded();
  }
};

TEST_F(lumoReadToMeTest, TurnsAfterEachNarrationAndStopsOnTheLastPage) {
  reader.setOn(true);
  reader.pageSettled(false, true);  // the Russian cover: nothing to hear
  EXPECT_EQ(pending, lumoReadToMe::kOnSilentPage);
  fire();
  EXPECT_EQ(turns, 1);
  reader.turnStarted();
  readPage();
  EXPECT_EQ(pending, lumoReadToMe::kAfterNarration);
  fire();
  EXPECT_EQ(turns, 2);
  reader.turnStarted();
  readPage(true);
  EXPECT_FALSE(pending);  // the ending page stays
  reader.pageSettled(true, true);
  EXPECT_FALSE(pending);

  // A recording that cannot play counts as a silent page.
  reader.pageSettled(false, false);
  reader.narrationFailed();
  EXPECT_EQ(pending, lumoReadToMe::kOnSilentPage);
}

TEST_F(lumoReadToMeTest, TheReaderPausesItUntilANarrationStartedLaterHasEnded) {
  reader.setOn(true);
  readPage();
  ASSERT_TRUE(pending);
  reader.readerActed();  // a tap on a figure during the wait
  EXPECT_FALSE(pending);
  reader.narrationEnded();  // the figure's line is no narration, but were it
  EXPECT_FALSE(pending);    // heard before the pause, it still would not count

  // The navigator opened during a narration: its end turns nothing.
  reader.turnStarted();
  reader.pageSettled(false, false);
  reader.narrationStarted();
  reader.readerActed();
  reader.narrationEnded();
  EXPECT_FALSE(pending);
  EXPECT_TRUE(reader.isPaused());
  // The repeat button reads it again: it goes on from there.
  reader.narrationStarted();
  reader.narrationEnded();
  EXPECT_EQ(pending, lumoReadToMe::kAfterNarration);
  EXPECT_FALSE(reader.isPaused());
  fire();
  EXPECT_EQ(turns, 1);

  // A reader's turn goes on from the next page's narration.
  reader.readerActed();
  reader.turnStarted();
  readPage();
  EXPECT_EQ(pending, lumoReadToMe::kAfterNarration);
  // A turn begun another way drops the waiting call.
  reader.turnStarted();
  EXPECT_FALSE(pending);
}

TEST_F(lumoReadToMeTest, OffDoesNothingAndOnOverAReadPageTurnsAfterTheSamePause) {
  readPage();
  reader.readerActed();
  EXPECT_FALSE(pending);
  reader.setOn(true);  // the switch is no pause
  EXPECT_EQ(pending, lumoReadToMe::kAfterNarration);
  reader.setOn(false);
  EXPECT_FALSE(pending);
  reader.due();  // a call that slipped through turns nothing
  EXPECT_EQ(turns, 0);

  reader.pageSettled(false, true);
  reader.setOn(true);
  EXPECT_EQ(pending, lumoReadToMe::kOnSilentPage);
  reader.setOn(false);
  reader.pageSettled(false, false);
  reader.narrationStarted();
  reader.setOn(true);  // during the narration: its end decides
  EXPECT_FALSE(pending);
  reader.narrationEnded();
  EXPECT_EQ(pending, lumoReadToMe::kAfterNarration);
}
