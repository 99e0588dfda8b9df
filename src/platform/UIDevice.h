#pragma once
#include <string>

#include "NSObject.h"

enum UIDeviceOrientation {
  UIDeviceOrientationUnknown = 0,
  UIDeviceOrientationPortrait = 1,
  UIDeviceOrientationPortraitUpsideDown = 2,
  UIDeviceOrientationLandscapeLeft = 3,
  UIDeviceOrientationLandscapeRight = 4,
  UIDeviceOrientationFaceUp = 5,
  UIDeviceOrientationFaceDown = 6
};

inline bool UIDeviceOrientationIsPortrait(UIDeviceOrientation o) {
  return o == UIDeviceOrientationPortrait || o == UIDeviceOrientationPortraitUpsideDown;
}
inline bool UIDeviceOrientationIsLandscape(UIDeviceOrientation o) {
  return o == UIDeviceOrientationLandscapeLeft || o == UIDeviceOrientationLandscapeRight;
}
// Portrait or landscape: the four ways the picture can be held upright.
inline bool UIDeviceOrientationIsValidInterfaceOrientation(UIDeviceOrientation o) {
  return UIDeviceOrientationIsPortrait(o) || UIDeviceOrientationIsLandscape(o);
}

enum UIUserInterfaceIdiom { UIUserInterfaceIdiomPhone = 0, UIUserInterfaceIdiomPad = 1 };

inline constexpr const char* UIDeviceOrientationDidChangeNotification =
    "UIDeviceOrientationDidChangeNotification";

// The emulated tablet: how it is held, its idiom and system version.
class UIDevice : public NSObject {
 public:
  static UIDevice& currentDevice();

  UIDeviceOrientation orientation() const { return orientation_; }
  // Changing the orientation posts UIDeviceOrientationDidChangeNotification.
  void setOrientation(UIDeviceOrientation orientation);
  // The last portrait or landscape orientation: face up or down keep the picture.
  UIDeviceOrientation heldOrientation() const { return held_; }
  UIUserInterfaceIdiom userInterfaceIdiom() const { return UIUserInterfaceIdiomPad; }
  std::string systemVersion() const { return systemVersion_; }
  void setSystemVersion(const std::string& version) { systemVersion_ = version; }

 private:
  UIDevice() = default;
  UIDeviceOrientation orientation_ = UIDeviceOrientationLandscapeLeft;
  UIDeviceOrientation held_ = UIDeviceOrientationLandscapeLeft;
  std::string systemVersion_ = "4.3";
};
