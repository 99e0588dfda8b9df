#pragma once
#include <optional>

#include "CGGeometry.h"
#include "DeviceRotation.h"
#include "UIDevice.h"

// The emulated tablet's display as it meets the desktop, in one place. Three
// spaces, each with the origin top-left:
//   window   the desktop window's pixels, any size;
//   picture  what the reader sees: 1024 x 768 held landscape, 768 x 1024
//            portrait, as large as fits in the window, letterboxed;
//   screen   the tablet's portrait screen, 768 x 1024 points, where the
//            views live; the picture lies on it turned by the held
//            orientation (DeviceRotation).
// A value is one held orientation in one window size.
class DisplayGeometry {
 public:
  // The tablet's sides in points: the one place its size is written.
  static constexpr int kLongSide = 1024, kShortSide = 768;
  // The portrait screen's bounds, where the views live.
  static CGRect screenBounds() { return {{0, 0}, {kShortSide, kLongSide}}; }
  // The picture of the book, held landscape; the window opens at this size.
  static CGSize landscapePictureSize() { return {kLongSide, kShortSide}; }

  // Whole window pixels, origin top-left.
  struct WindowRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const WindowRect&) const = default;
  };

  // Orientations other than the four held ones count as landscape left, as
  // in DeviceRotation.
  explicit DisplayGeometry(UIDeviceOrientation held = UIDeviceOrientationLandscapeLeft,
                           int windowWidth = kLongSide, int windowHeight = kShortSide);

  UIDeviceOrientation heldOrientation() const { return held_; }
  CGSize pictureSize() const;

  // The picture in the window: as large as fits at its own aspect, rounded
  // to whole pixels, centred; an odd pixel left over goes to the bar above
  // or on the right. Empty for a window without area.
  WindowRect pictureInWindow() const;
  // A window point to the picture: bars count as the picture's nearest edge
  // (a touch just outside still reaches a control at the edge). Nothing when
  // the window has no area.
  std::optional<CGPoint> windowToPicture(CGPoint window) const;

  // The picture onto the portrait screen, turned by the held orientation.
  DeviceRotation pictureToScreenRotation() const;
  CGPoint pictureToScreen(CGPoint picture) const;
  CGPoint screenToPicture(CGPoint screen) const;

  // Quarter turns (clockwise on the screen) that stand a view of the portrait
  // screen upright in the book's landscape picture: 3 when held landscape
  // right, 1 in every other position, which counts as landscape left.
  static int landscapeViewQuarterTurns(UIDeviceOrientation orientation);

 private:
  UIDeviceOrientation held_;
  int windowWidth_, windowHeight_;
};
