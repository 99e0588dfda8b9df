#include "DeviceRotation.h"

DeviceRotation DeviceRotation::pictureToDevice(UIDeviceOrientation held) {
  switch (held) {
    case UIDeviceOrientationPortrait:
      return {};
    case UIDeviceOrientationPortraitUpsideDown:
      return {false, true, true};
    case UIDeviceOrientationLandscapeRight:  // the screen's top on the reader's right
      return {true, false, true};
    default:  // landscape left: the screen's top on the reader's left
      return {true, true, false};
  }
}

DeviceRotation DeviceRotation::inverse() const {
  // Undoing a swap moves each flip to the other axis.
  return swapsAxes ? DeviceRotation{true, flipsY, flipsX} : *this;
}

DeviceRotation DeviceRotation::withSourceYFlipped() const {
  return swapsAxes ? DeviceRotation{true, !flipsX, flipsY} : DeviceRotation{false, flipsX, !flipsY};
}

DeviceRotation DeviceRotation::withTargetYFlipped() const {
  return {swapsAxes, flipsX, !flipsY};
}

float DeviceRotation::degrees(UIDeviceOrientation held) {
  switch (held) {
    case UIDeviceOrientationPortraitUpsideDown:
      return 180;
    case UIDeviceOrientationLandscapeLeft:
      return -90;
    case UIDeviceOrientationLandscapeRight:
      return 90;
    default:
      return 0;
  }
}
