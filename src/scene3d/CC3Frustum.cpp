#include "CC3Frustum.h"

Ptr<CC3Frustum> CC3Frustum::frustum() {
  return makeObject<CC3Frustum>();
}

void CC3Frustum::setPlanes(CC3Plane top, CC3Plane bottom, CC3Plane left, CC3Plane right,
                           CC3Plane near, CC3Plane far) {
  topPlane_ = top;
  bottomPlane_ = bottom;
  leftPlane_ = left;
  rightPlane_ = right;
  nearPlane_ = near;
  farPlane_ = far;
}

bool CC3Frustum::doesIntersectSphereAt(CC3Vec3 center, GLfloat radius) const {
  for (const CC3Plane& plane :
       {nearPlane_, rightPlane_, leftPlane_, topPlane_, bottomPlane_, farPlane_}) {
    if (CC3DistanceFromNormalizedPlane(plane, center) + radius < 0) return false;
  }
  return true;
}
