#include "UIDevice.h"

#include "DrawRevision.h"
#include "EventLog.h"
#include "NSNotificationCenter.h"

UIDevice& UIDevice::currentDevice() {
  static UIDevice* device = new UIDevice();  // lives for the process
  return *device;
}

void UIDevice::setOrientation(UIDeviceOrientation orientation) {
  if (orientation < UIDeviceOrientationUnknown || orientation > UIDeviceOrientationFaceDown) return;
  if (orientation == orientation_) return;
  orientation_ = orientation;
  DrawRevision::bump();
  if (UIDeviceOrientationIsValidInterfaceOrientation(orientation)) held_ = orientation;
  NSNotificationCenter::defaultCenter().postNotificationName(
      UIDeviceOrientationDidChangeNotification, this);
}
