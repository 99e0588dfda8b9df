#pragma once
#include "CC3Foundation.h"
#include "NSObject.h"

// The camera's clipping volume as six planes in world coordinates, normals
// pointing inwards. Only what the node and bounding-volume tests need is
// here: the planes and the sphere and point tests.
class CC3Frustum : public NSObject {
 public:
  static Ptr<CC3Frustum> frustum();

  CC3Plane topPlane() const { return topPlane_; }
  CC3Plane bottomPlane() const { return bottomPlane_; }
  CC3Plane leftPlane() const { return leftPlane_; }
  CC3Plane rightPlane() const { return rightPlane_; }
  CC3Plane nearPlane() const { return nearPlane_; }
  CC3Plane farPlane() const { return farPlane_; }
  void setPlanes(CC3Plane top, CC3Plane bottom, CC3Plane left, CC3Plane right, CC3Plane near,
                 CC3Plane far);

  // A sphere is outside only when it lies wholly behind one plane; touching
  // a plane counts as inside.
  bool doesIntersectSphereAt(CC3Vec3 center, GLfloat radius) const;
  bool doesIntersectPointAt(CC3Vec3 location) const { return doesIntersectSphereAt(location, 0); }

 protected:
  CC3Plane topPlane_, bottomPlane_, leftPlane_, rightPlane_, nearPlane_, farPlane_;
};
