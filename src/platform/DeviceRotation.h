#pragma once
#include "CGGeometry.h"
#include "UIDevice.h"

// How the picture the reader sees lies on the portrait device for one held
// orientation. Every table that turns points, pixels or texture corners
// between the two derives from this one, so the four orientations are
// spelled out once. Each target coordinate is one source coordinate, either
// as it is or measured from the target's far side; composing flags (not
// applying two maps) keeps the results bit-identical to a direct formula.
struct DeviceRotation {
  bool swapsAxes = false;  // the source's x runs along the target's y
  bool flipsX = false;     // the target's x is measured from its far side
  bool flipsY = false;

  // The upright picture onto the portrait device, both with the origin
  // top-left. Orientations other than the four held ones count as landscape
  // left, the book's own.
  static DeviceRotation pictureToDevice(UIDeviceOrientation held);

  // The map back from the target to the source.
  DeviceRotation inverse() const;
  // The same map with the source's, or the target's, y axis turned over (the
  // origin moved between top-left and bottom-left).
  DeviceRotation withSourceYFlipped() const;
  DeviceRotation withTargetYFlipped() const;

  // (x, y) of the source into the target, whose extent is (width, height):
  // its size for points, its last index for pixels.
  template <class T>
  void map(T x, T y, T width, T height, T& outX, T& outY) const {
    const T u = swapsAxes ? y : x, v = swapsAxes ? x : y;
    outX = flipsX ? width - u : u;
    outY = flipsY ? height - v : v;
  }
  CGPoint map(CGPoint p, CGSize target) const {
    CGPoint out;
    map(p.x, p.y, target.width, target.height, out.x, out.y);
    return out;
  }

  // The angle in degrees the device's picture is turned by about z for a
  // held orientation: 180 upside down, -90 landscape left, 90 landscape
  // right, 0 otherwise.
  static float degrees(UIDeviceOrientation held);
};
