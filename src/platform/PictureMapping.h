#pragma once
#include "CGGeometry.h"
#include "UIDevice.h"

// Between the device screen (the portrait tablet's 768 x 1024, where views
// live) and the picture the reader sees (1024 x 768 when the tablet is held
// in landscape, 768 x 1024 in portrait), both with the origin top-left, for
// the orientation the device is held in.
namespace PictureMapping {
inline constexpr float kLong = 1024, kShort = 768;

CGPoint pictureToScreen(CGPoint picture, UIDeviceOrientation heldOrientation);
CGPoint screenToPicture(CGPoint screen, UIDeviceOrientation heldOrientation);
// The picture's size for a held orientation.
CGSize pictureSize(UIDeviceOrientation heldOrientation);
}  // namespace PictureMapping
