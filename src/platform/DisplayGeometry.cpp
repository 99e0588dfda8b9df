#include "DisplayGeometry.h"

#include <algorithm>

DisplayGeometry::DisplayGeometry(UIDeviceOrientation held, int windowWidth, int windowHeight)
    : held_(held), windowWidth_(windowWidth), windowHeight_(windowHeight) {}

CGSize DisplayGeometry::pictureSize() const {
  return UIDeviceOrientationIsPortrait(held_) ? CGSize{kShortSide, kLongSide}
                                              : CGSize{kLongSide, kShortSide};
}

DisplayGeometry::WindowRect DisplayGeometry::pictureInWindow() const {
  if (windowWidth_ <= 0 || windowHeight_ <= 0) return {};
  const CGSize picture = pictureSize();
  const float aspect = picture.width / picture.height;
  int width = windowWidth_, height = windowHeight_;
  if (float(width) / float(height) > aspect)
    width = int(float(height) * aspect + 0.5f);
  else
    height = int(float(width) / aspect + 0.5f);
  // GL places the picture by its bottom-left corner, rounding the bars below
  // and on the left down; from the top that leaves the larger half above.
  const int below = (windowHeight_ - height) / 2;
  return {(windowWidth_ - width) / 2, windowHeight_ - height - below, width, height};
}

std::optional<CGPoint> DisplayGeometry::windowToPicture(CGPoint window) const {
  const WindowRect shown = pictureInWindow();
  if (shown.width <= 0 || shown.height <= 0) return std::nullopt;
  const CGSize picture = pictureSize();
  const float x = (window.x - float(shown.x)) * picture.width / float(shown.width);
  const float y = (window.y - float(shown.y)) * picture.height / float(shown.height);
  return CGPoint{std::clamp(x, 0.0f, picture.width - 1), std::clamp(y, 0.0f, picture.height - 1)};
}

DeviceRotation DisplayGeometry::pictureToScreenRotation() const {
  return DeviceRotation::pictureToDevice(held_);
}

CGPoint DisplayGeometry::pictureToScreen(CGPoint picture) const {
  return pictureToScreenRotation().map(picture, screenBounds().size);
}

CGPoint DisplayGeometry::screenToPicture(CGPoint screen) const {
  return pictureToScreenRotation().inverse().map(screen, pictureSize());
}

int DisplayGeometry::landscapeViewQuarterTurns(UIDeviceOrientation orientation) {
  const UIDeviceOrientation landscape = orientation == UIDeviceOrientationLandscapeRight
                                            ? UIDeviceOrientationLandscapeRight
                                            : UIDeviceOrientationLandscapeLeft;
  // The view turns back by what the picture is turned on the device.
  const int pictureTurns = int(DeviceRotation::degrees(landscape)) / 90;
  return (4 - pictureTurns) % 4;
}
