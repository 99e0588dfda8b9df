#include "DeviceRotation.h"

#include <gtest/gtest.h>

namespace {
constexpr UIDeviceOrientation kHeld[] = {
    UIDeviceOrientationPortrait, UIDeviceOrientationPortraitUpsideDown,
    UIDeviceOrientationLandscapeLeft, UIDeviceOrientationLandscapeRight};

CGSize pictureSize(UIDeviceOrientation o) {
  return UIDeviceOrientationIsLandscape(o) ? CGSize{1024, 768} : CGSize{768, 1024};
}

// The reader's top-left corner lands where the screen's own corner for that
// hold is, and the picture's centre stays at the screen's centre.
TEST(DeviceRotation, PictureCornersLandOnTheScreen) {
  const CGSize screen{768, 1024};
  struct Case {
    UIDeviceOrientation held;
    CGPoint topLeft;
  } cases[] = {{UIDeviceOrientationPortrait, {0, 0}},
               {UIDeviceOrientationPortraitUpsideDown, {768, 1024}},
               {UIDeviceOrientationLandscapeLeft, {768, 0}},
               {UIDeviceOrientationLandscapeRight, {0, 1024}}};
  for (const Case& c : cases) {
    const DeviceRotation r = DeviceRotation::pictureToDevice(c.held);
    EXPECT_EQ(r.map({0, 0}, screen), c.topLeft) << c.held;
    const CGSize p = pictureSize(c.held);
    EXPECT_EQ(r.map({p.width / 2, p.height / 2}, screen), CGPointMake(384, 512)) << c.held;
  }
  // Flat and unknown positions count as the book's landscape left.
  EXPECT_EQ(
      DeviceRotation::pictureToDevice(UIDeviceOrientationFaceUp).map({10, 20}, screen),
      DeviceRotation::pictureToDevice(UIDeviceOrientationLandscapeLeft).map({10, 20}, screen));
}

// Each derived map undoes its inverse exactly, on points and on pixel grids.
TEST(DeviceRotation, InversesAndFlippedAxesRoundTrip) {
  for (UIDeviceOrientation o : kHeld) {
    const DeviceRotation maps[] = {
        DeviceRotation::pictureToDevice(o), DeviceRotation::pictureToDevice(o).withSourceYFlipped(),
        DeviceRotation::pictureToDevice(o).withTargetYFlipped(),
        DeviceRotation::pictureToDevice(o).withSourceYFlipped().withTargetYFlipped()};
    for (const DeviceRotation& r : maps) {
      const CGSize p = pictureSize(o);
      for (CGPoint pt : {CGPoint{0, 0}, CGPoint{100.25f, 30.5f}, CGPoint{p.width, p.height}}) {
        const CGPoint back = r.inverse().map(r.map(pt, {768, 1024}), p);
        EXPECT_EQ(back, pt) << o;
      }
      // The pixels of a 4 x 3 picture fill the device's 3 x 4 (or 4 x 3) grid one to one.
      const bool landscape = UIDeviceOrientationIsLandscape(o);
      const int w = landscape ? 3 : 4, h = landscape ? 4 : 3, pw = 4, ph = 3;
      int seen[12] = {};
      for (int y = 0; y < ph; ++y)
        for (int x = 0; x < pw; ++x) {
          int bx = -1, by = -1;
          r.map(x, y, w - 1, h - 1, bx, by);
          ASSERT_TRUE(bx >= 0 && bx < w && by >= 0 && by < h) << o << " " << x << "," << y;
          ++seen[by * w + bx];
        }
      for (int n : seen) EXPECT_EQ(n, 1) << o;
    }
  }
}

// Moving the origin to the bottom-left on both sides turns landscape left
// into (y, H - x): the formula GL's texture corners and the frame read-back use.
TEST(DeviceRotation, BottomLeftOriginsGiveTheGLTable) {
  const DeviceRotation left = DeviceRotation::pictureToDevice(UIDeviceOrientationLandscapeLeft)
                                  .withSourceYFlipped()
                                  .withTargetYFlipped();
  EXPECT_EQ(left.map({0, 0}, {1, 1}), CGPointMake(0, 1));
  EXPECT_EQ(left.map({1, 0}, {1, 1}), CGPointMake(0, 0));
  const DeviceRotation right = DeviceRotation::pictureToDevice(UIDeviceOrientationLandscapeRight)
                                   .withSourceYFlipped()
                                   .withTargetYFlipped();
  EXPECT_EQ(right.map({0, 0}, {1, 1}), CGPointMake(1, 0));
  EXPECT_EQ(right.map({0, 1}, {1, 1}), CGPointMake(0, 0));
}

TEST(DeviceRotation, DegreesAndOrientationKinds) {
  EXPECT_EQ(DeviceRotation::degrees(UIDeviceOrientationPortrait), 0);
  EXPECT_EQ(DeviceRotation::degrees(UIDeviceOrientationPortraitUpsideDown), 180);
  EXPECT_EQ(DeviceRotation::degrees(UIDeviceOrientationLandscapeLeft), -90);
  EXPECT_EQ(DeviceRotation::degrees(UIDeviceOrientationLandscapeRight), 90);
  EXPECT_EQ(DeviceRotation::degrees(UIDeviceOrientationFaceDown), 0);
  EXPECT_TRUE(UIDeviceOrientationIsPortrait(UIDeviceOrientationPortraitUpsideDown));
  EXPECT_FALSE(UIDeviceOrientationIsLandscape(UIDeviceOrientationFaceUp));
  EXPECT_FALSE(UIDeviceOrientationIsValidInterfaceOrientation(UIDeviceOrientationUnknown));
}
}  // namespace
