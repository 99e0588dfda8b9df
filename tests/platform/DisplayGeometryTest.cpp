#include "DisplayGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {
using Rect = DisplayGeometry::WindowRect;

constexpr UIDeviceOrientation kLeft = UIDeviceOrientationLandscapeLeft;
constexpr UIDeviceOrientation kRight = UIDeviceOrientationLandscapeRight;

Rect shown(int width, int height, UIDeviceOrientation held = kLeft) {
  return DisplayGeometry(held, width, height).pictureInWindow();
}

CGPoint toPicture(int width, int height, CGPoint window, UIDeviceOrientation held = kLeft) {
  return DisplayGeometry(held, width, height).windowToPicture(window).value_or(CGPoint{-1, -1});
}
}  // namespace

// The picture's sides are rounded to the nearest pixel, and of an odd pixel
// left over the bar above (or on the right) gets the larger half: GL places
// the picture by its bottom-left corner with the bars there rounded down.
TEST(DisplayGeometry, LetterboxRoundsToWholePixelsTheWayGLPlacesThem) {
  EXPECT_EQ(shown(1024, 768), (Rect{0, 0, 1024, 768}));
  EXPECT_EQ(shown(1024, 769), (Rect{0, 1, 1024, 768})) << "the odd row is the top bar";
  EXPECT_EQ(shown(1025, 768), (Rect{0, 0, 1024, 768})) << "the odd column is the right bar";
  EXPECT_EQ(shown(1001, 1000), (Rect{0, 125, 1001, 751})) << "750.75 rows round up";
  EXPECT_EQ(shown(1003, 101), (Rect{434, 0, 135, 101})) << "134.67 columns round up";
  EXPECT_EQ(shown(2048, 1600), (Rect{0, 32, 2048, 1536}));
  EXPECT_EQ(shown(1024, 768, UIDeviceOrientationPortrait), (Rect{224, 0, 576, 768}));
  EXPECT_EQ(shown(0, 768), Rect{});
  EXPECT_EQ(shown(1024, 0), Rect{});

  // Any window: the picture touches two opposite sides, keeps 4:3 within a
  // pixel, and its bars differ by at most the odd pixel, the larger above or right.
  for (int w = 1; w < 1400; w += 37)
    for (int h = 1; h < 1100; h += 29) {
      const Rect r = shown(w, h);
      ASSERT_TRUE(r.width == w || r.height == h) << w << "x" << h;
      ASSERT_LE(std::abs(r.width * 3 - r.height * 4), 4) << w << "x" << h;
      const int left = r.x, right = w - r.x - r.width, top = r.y, below = h - r.y - r.height;
      ASSERT_TRUE(right - left == 0 || right - left == 1) << w << "x" << h;
      ASSERT_TRUE(top - below == 0 || top - below == 1) << w << "x" << h;
      ASSERT_GE(left, 0);
      ASSERT_GE(below, 0);
    }
}

// Window points map through the very rectangle the picture is drawn in; a
// point on a bar counts as the nearest edge of the picture.
TEST(DisplayGeometry, WindowPointsMapIntoThePictureUpToTheBarsEdges) {
  EXPECT_EQ(toPicture(1024, 768, {300, 200}), CGPointMake(300, 200)) << "no bars: one to one";
  // 1024 x 769: row 0 is the top bar, row 1 the picture's first.
  EXPECT_EQ(toPicture(1024, 769, {10, 0}), CGPointMake(10, 0));
  EXPECT_EQ(toPicture(1024, 769, {10, 1}), CGPointMake(10, 0));
  EXPECT_EQ(toPicture(1024, 769, {10, 2}), CGPointMake(10, 1));
  EXPECT_EQ(toPicture(1024, 769, {10, 768}), CGPointMake(10, 767));
  // 1024 x 1000: bars of 116 rows above and below.
  EXPECT_EQ(toPicture(1024, 1000, {0, 115}), CGPointMake(0, 0));
  EXPECT_EQ(toPicture(1024, 1000, {0, 116}), CGPointMake(0, 0));
  EXPECT_EQ(toPicture(1024, 1000, {512, 500}), CGPointMake(512, 384));
  EXPECT_EQ(toPicture(1024, 1000, {1023, 883}), CGPointMake(1023, 767));
  EXPECT_EQ(toPicture(1024, 1000, {1023, 999}), CGPointMake(1023, 767));
  // Twice the size: window pixels are half picture pixels.
  EXPECT_EQ(toPicture(2048, 1600, {1024, 800}), CGPointMake(512, 384));
  EXPECT_EQ(toPicture(2048, 1600, {2047, 1567}), CGPointMake(1023, 767));
  // Held portrait in a landscape window: bars left and right.
  const UIDeviceOrientation portrait = UIDeviceOrientationPortrait;
  EXPECT_EQ(toPicture(1024, 768, {223, 10}, portrait), CGPointMake(0, 10 * 1024.0f / 768));
  EXPECT_EQ(toPicture(1024, 768, {224, 0}, portrait), CGPointMake(0, 0));
  EXPECT_EQ(toPicture(1024, 768, {800, 767}, portrait), CGPointMake(767, 767 * 1024.0f / 768));
  EXPECT_FALSE(DisplayGeometry(kLeft, 0, 0).windowToPicture({0, 0}));
}

// The reader's corners land on the screen where each landscape hold puts
// them, and screen points come back to the same picture points.
TEST(DisplayGeometry, LandscapeHoldsTurnPicturePointsOntoThePortraitScreen) {
  EXPECT_EQ(DisplayGeometry::screenBounds(), CGRectMake(0, 0, 768, 1024));
  EXPECT_EQ(DisplayGeometry::landscapePictureSize(), CGSizeMake(1024, 768));
  const DisplayGeometry left(kLeft), right(kRight);
  EXPECT_EQ(left.pictureSize(), CGSizeMake(1024, 768));
  EXPECT_EQ(DisplayGeometry(UIDeviceOrientationPortraitUpsideDown).pictureSize(),
            CGSizeMake(768, 1024));
  // Landscape left: the screen's top on the reader's left.
  EXPECT_EQ(left.pictureToScreen({0, 0}), CGPointMake(768, 0));
  EXPECT_EQ(left.pictureToScreen({100, 30}), CGPointMake(738, 100));
  EXPECT_EQ(left.pictureToScreen({1024, 768}), CGPointMake(0, 1024));
  // Landscape right: the screen's top on the reader's right.
  EXPECT_EQ(right.pictureToScreen({0, 0}), CGPointMake(0, 1024));
  EXPECT_EQ(right.pictureToScreen({100, 30}), CGPointMake(30, 924));
  EXPECT_EQ(right.pictureToScreen({1024, 768}), CGPointMake(768, 0));
  for (const DisplayGeometry& g : {left, right, DisplayGeometry(UIDeviceOrientationPortrait),
                                   DisplayGeometry(UIDeviceOrientationPortraitUpsideDown)})
    for (CGPoint p : {CGPoint{0, 0}, CGPoint{100, 30}, CGPoint{700.5f, 500.25f}})
      EXPECT_EQ(g.screenToPicture(g.pictureToScreen(p)), p) << g.heldOrientation();
  // From a doubled window through the picture to the screen, held landscape right.
  const DisplayGeometry big(kRight, 2048, 1536);
  EXPECT_EQ(big.pictureToScreen(*big.windowToPicture({0, 0})), CGPointMake(0, 1024));
}

// A view of the portrait screen stands upright in the landscape picture
// after these turns; every hold but landscape right counts as the book's left.
TEST(DisplayGeometry, ViewsTurnAgainstTheLandscapeHold) {
  EXPECT_EQ(DisplayGeometry::landscapeViewQuarterTurns(kLeft), 1);
  EXPECT_EQ(DisplayGeometry::landscapeViewQuarterTurns(kRight), 3);
  for (UIDeviceOrientation other : {UIDeviceOrientationUnknown, UIDeviceOrientationPortrait,
                                    UIDeviceOrientationPortraitUpsideDown,
                                    UIDeviceOrientationFaceUp, UIDeviceOrientationFaceDown})
    EXPECT_EQ(DisplayGeometry::landscapeViewQuarterTurns(other), 1) << other;
  // The turn undoes the picture's own turn on the device.
  for (UIDeviceOrientation held : {kLeft, kRight}) {
    const float degrees = DeviceRotation::degrees(held);
    EXPECT_EQ(std::fmod(degrees + 90.0f * DisplayGeometry::landscapeViewQuarterTurns(held), 360), 0)
        << held;
  }
}
