#include "PictureMapping.h"

#include "DeviceRotation.h"

CGPoint PictureMapping::pictureToScreen(CGPoint p, UIDeviceOrientation heldOrientation) {
  return DeviceRotation::pictureToDevice(heldOrientation).map(p, {kShort, kLong});
}

CGPoint PictureMapping::screenToPicture(CGPoint s, UIDeviceOrientation heldOrientation) {
  return DeviceRotation::pictureToDevice(heldOrientation)
      .inverse()
      .map(s, pictureSize(heldOrientation));
}

CGSize PictureMapping::pictureSize(UIDeviceOrientation heldOrientation) {
  return UIDeviceOrientationIsPortrait(heldOrientation) ? CGSize{kShort, kLong}
                                                        : CGSize{kLong, kShort};
}
