#include <gtest/gtest.h>

#include <vector>

#include "lumoNavigatorStrip.h"
#include "lumoPageJump.h"
#include "lumoPageNavigator.h"

namespace {
using Strip = lumoNavigatorStrip;

float centreX(const lumoPictureRect& r) {
  return r.left + r.width / 2;
}
float centreY(const lumoPictureRect& r) {
  return r.top + r.height / 2;
}
}  // namespace

TEST(lumoNavigatorStrip, EighteenPagesScrollWithTheMarkedPageInSight) {
  // Page 1 at the row's start, the last page at its end, a middle page in the middle.
  Strip first(18, 1);
  EXPECT_FLOAT_EQ(first.scroll(), 0);
  EXPECT_FLOAT_EQ(first.thumbRect(1).left, Strip::kMargin);
  EXPECT_FALSE(first.fits());
  Strip last(18, 18);
  EXPECT_FLOAT_EQ(last.scroll(), last.maxScroll());
  EXPECT_FLOAT_EQ(last.thumbRect(18).left + Strip::kThumbWidth,
                  Strip::kPictureWidth - Strip::kMargin);
  Strip middle(18, 9);
  EXPECT_NEAR(centreX(middle.thumbRect(9)), Strip::kPictureWidth / 2, 0.01);

  // Moving the mark past the right edge scrolls just enough to show it whole.
  first.moveMark(4);
  EXPECT_EQ(first.markedPage(), 5);
  EXPECT_FLOAT_EQ(first.thumbRect(5).left + Strip::kThumbWidth,
                  Strip::kPictureWidth - Strip::kMargin);
  const float scrolled = first.scroll();
  first.moveMark(-1);  // page 4 is in sight: nothing moves
  EXPECT_FLOAT_EQ(first.scroll(), scrolled);
  first.moveMark(-10);
  EXPECT_EQ(first.markedPage(), 1);
  EXPECT_FLOAT_EQ(first.scroll(), 0);

  // The wheel and drags stop at the row's ends.
  first.wheel(100);
  EXPECT_FLOAT_EQ(first.scroll(), first.maxScroll());
  first.dragBy(Strip::kNotch);  // the row follows the finger to the right
  EXPECT_FLOAT_EQ(first.scroll(), first.maxScroll() - Strip::kNotch);
  first.dragBy(1e6f);
  EXPECT_FLOAT_EQ(first.scroll(), 0);
}

TEST(lumoNavigatorStrip, RectsShownAndHitsAreThoseOnThePicture) {
  Strip strip(18, 1);
  // Only the part on the picture is reported; a page scrolled away has none.
  EXPECT_EQ(strip.visibleThumbRect(1), strip.thumbRect(1));
  EXPECT_FALSE(strip.visibleThumbRect(9));
  EXPECT_FALSE(strip.visibleThumbRect(0));
  EXPECT_FALSE(strip.visibleThumbRect(19));
  EXPECT_EQ(strip.visibleThumbRect(4), strip.thumbRect(4));  // 784 to 1008
  EXPECT_FALSE(strip.visibleThumbRect(5));                   // from 1032
  strip.scrollTo(100);
  const auto clipped = strip.visibleThumbRect(1);
  ASSERT_TRUE(clipped);
  EXPECT_FLOAT_EQ(clipped->left, 0);
  EXPECT_FLOAT_EQ(clipped->width, Strip::kThumbWidth - 60);

  // Every reported rect's centre finds its page; gaps and the margins find none.
  for (int page = 1; page <= 18; ++page) {
    if (const auto r = strip.visibleThumbRect(page)) {
      EXPECT_EQ(strip.pageAt(centreX(*r), centreY(*r)), page) << page;
    }
  }
  const lumoPictureRect two = strip.thumbRect(2);
  EXPECT_FALSE(strip.pageAt(two.left - Strip::kGap / 2, centreY(two)));
  EXPECT_FALSE(strip.pageAt(centreX(two), two.top - 1));
  EXPECT_TRUE(strip.band().contains(centreX(two), two.top - 1));
  EXPECT_FALSE(strip.band().contains(centreX(two), 20));
}

TEST(lumoNavigatorStrip, AShortBookStandsInTheMiddleAndDoesNotScroll) {
  Strip strip(3, 3);
  EXPECT_TRUE(strip.fits());
  const float left = strip.thumbRect(1).left;
  const float right = strip.thumbRect(3).left + Strip::kThumbWidth;
  EXPECT_FLOAT_EQ(left, Strip::kPictureWidth - right);
  strip.wheel(3);
  strip.dragBy(-300);
  EXPECT_FLOAT_EQ(strip.thumbRect(1).left, left);
}

class lumoPageNavigatorTest : public ::testing::Test {
 protected:
  lumoPageNavigator navigator{{[this](int page) { jumps.push_back(page); }, [this] { ++changes; }}};
  std::vector<int> jumps;
  int changes = 0;

  void tap(float x, float y) {
    navigator.touchBegan(x, y);
    navigator.touchEnded(x, y);
  }
  void tapPage(int page) {
    const auto r = navigator.strip()->visibleThumbRect(page);
    ASSERT_TRUE(r) << "page " << page << " is not in sight";
    tap(centreX(*r), centreY(*r));
  }
};

TEST_F(lumoPageNavigatorTest, ATapOnAPageClosesAndJumpsThere) {
  EXPECT_FALSE(navigator.touchBegan(10, 10));  // closed: the book gets its touches
  EXPECT_FALSE(navigator.keyPressed(lumoPageNavigator::Key::Enter));
  navigator.open(18, 3);
  ASSERT_TRUE(navigator.isOpen());
  EXPECT_EQ(navigator.strip()->markedPage(), 3);
  tapPage(4);
  EXPECT_FALSE(navigator.isOpen());
  EXPECT_EQ(jumps, std::vector<int>{4});

  // The page on stage: closes with no jump.
  navigator.open(18, 4);
  tapPage(4);
  EXPECT_FALSE(navigator.isOpen());
  EXPECT_EQ(jumps.size(), 1u);
}

TEST_F(lumoPageNavigatorTest, OutsideTheStripClosesAGapDoesNothing) {
  navigator.open(18, 1);
  const lumoPictureRect two = navigator.strip()->thumbRect(2);
  tap(two.left - lumoNavigatorStrip::kGap / 2, centreY(two));
  EXPECT_TRUE(navigator.isOpen());
  tap(500, 30);  // above the strip, on the dimmed page
  EXPECT_FALSE(navigator.isOpen());
  EXPECT_TRUE(jumps.empty());
}

TEST_F(lumoPageNavigatorTest, ADragScrollsAndNeverChooses) {
  navigator.open(18, 1);
  const float y = centreY(navigator.strip()->thumbRect(1));
  // 500 pixels to the left, ending over page 3's picture.
  navigator.touchBegan(600, y);
  for (int step = 1; step <= 5; ++step) EXPECT_TRUE(navigator.touchMoved(600 - step * 100.0f, y));
  navigator.touchEnded(100, y);
  EXPECT_TRUE(navigator.isOpen());
  EXPECT_TRUE(jumps.empty());
  EXPECT_FLOAT_EQ(navigator.strip()->scroll(), 500);
  EXPECT_EQ(navigator.strip()->pageAt(100, y), 3);
  // A touch that wanders less than the tap distance is still a tap.
  const auto r = navigator.strip()->visibleThumbRect(6);
  ASSERT_TRUE(r);
  navigator.touchBegan(centreX(*r), centreY(*r));
  navigator.touchMoved(centreX(*r) + 20, centreY(*r));
  navigator.touchEnded(centreX(*r) + 5, centreY(*r));
  EXPECT_EQ(jumps, std::vector<int>{6});
}

TEST_F(lumoPageNavigatorTest, KeysMoveTheMarkEnterChoosesCloseCloses) {
  navigator.open(18, 17);
  using Key = lumoPageNavigator::Key;
  navigator.keyPressed(Key::Right);
  navigator.keyPressed(Key::Right);  // no page past the last
  EXPECT_EQ(navigator.strip()->markedPage(), 18);
  for (int i = 0; i < 9; ++i) navigator.keyPressed(Key::Left);
  EXPECT_TRUE(navigator.strip()->visibleThumbRect(9));
  EXPECT_TRUE(navigator.keyPressed(Key::Enter));
  EXPECT_EQ(jumps, std::vector<int>{9});
  navigator.open(18, 9);
  EXPECT_TRUE(navigator.wheel(2));
  EXPECT_TRUE(navigator.keyPressed(Key::Close));
  EXPECT_FALSE(navigator.isOpen());
  EXPECT_EQ(jumps.size(), 1u);
  EXPECT_GE(changes, 6);  // opened, marks, closed, opened, wheel, closed
}

class lumoPageJumpTest : public ::testing::Test {
 protected:
  bool locked = false;
  int page = 5;
  std::vector<int> went;
  lumoPageJump jump{
      {[this] { return locked; }, [this] { return page; }, [this](int to) { went.push_back(to); }}};
};

TEST_F(lumoPageJumpTest, AJumpDuringATurnWaitsForItToSettle) {
  EXPECT_TRUE(jump.request(9));  // no turn: at once
  EXPECT_EQ(went, std::vector<int>{9});

  locked = true;  // a turn from 5 to 6 runs
  page = 6;
  EXPECT_FALSE(jump.request(12));
  EXPECT_FALSE(jump.request(2));  // the later choice wins
  EXPECT_EQ(jump.waiting(), 2);
  EXPECT_EQ(went.size(), 1u);
  locked = false;
  jump.settled();
  EXPECT_EQ(went, (std::vector<int>{9, 2}));
  jump.settled();  // made once
  EXPECT_EQ(went.size(), 2u);

  // The turn itself brought the reader to the chosen page: nothing more.
  locked = true;
  jump.request(6);
  locked = false;
  jump.settled();
  EXPECT_EQ(went.size(), 2u);
  EXPECT_FALSE(jump.request(6));  // the page on stage
  EXPECT_EQ(went.size(), 2u);
}
