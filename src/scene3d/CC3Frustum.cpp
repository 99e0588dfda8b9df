#include "CC3Frustum.h"

#include <cmath>
#include <cstdio>
#include <numbers>

Ptr<CC3Frustum> CC3Frustum::frustum() {
  auto aFrustum = makeObject<CC3Frustum>();
  aFrustum->init();
  return aFrustum;
}

CC3Frustum::CC3Frustum() : projectionMatrix_(CC3GLMatrix::identity()) {}

bool CC3Frustum::init() {
  projectionMatrix_->populateIdentity();
  top_ = bottom_ = left_ = right_ = near_ = far_ = 0;
  arePlanesDirty_ = true;
  return true;
}

void CC3Frustum::populateFrom(GLfloat fieldOfView, GLfloat aspect, GLfloat nearClip,
                              GLfloat farClip, GLfloat zoom) {
  near_ = nearClip;
  far_ = farClip;
  // The half angle in double precision: the float product loses the last
  // digits that the projection's edges are compared on.
  double halfAngle = double(fieldOfView) * std::numbers::pi / 360.0;
  top_ = zoom > 0 ? GLfloat(double(nearClip) * std::tan(halfAngle) / double(zoom)) : 0.0f;
  bottom_ = -top_;
  right_ = aspect * top_;
  left_ = aspect * bottom_;
  projectionMatrix_->populateFromFrustumLeft(left_, right_, bottom_, top_, near_, far_);
  arePlanesDirty_ = true;
}

namespace {

// Row `i` of a column-major matrix.
CC3Vec4 matrixRow(const GLfloat* m, int i) {
  return {m[i], m[4 + i], m[8 + i], m[12 + i]};
}

}  // namespace

void CC3Frustum::buildPlanes(const CC3GLMatrix* viewMatrix) {
  if (!arePlanesDirty_) return;
  GLfloat m[16];
  CC3GLMatrix::copyMatrix(projectionMatrix_->glMatrix(), m);
  if (viewMatrix) CC3GLMatrix::multiplyByMatrix(m, viewMatrix->glMatrix());
  CC3Vec4 r0 = matrixRow(m, 0), r1 = matrixRow(m, 1), r2 = matrixRow(m, 2), r3 = matrixRow(m, 3);
  bottomPlane_ = CC3PlaneNormalize(CC3Vec4Add(r3, r1));
  topPlane_ = CC3PlaneNormalize(CC3Vec4Difference(r3, r1));
  leftPlane_ = CC3PlaneNormalize(CC3Vec4Add(r3, r0));
  rightPlane_ = CC3PlaneNormalize(CC3Vec4Difference(r3, r0));
  nearPlane_ = CC3PlaneNormalize(CC3Vec4Add(r3, r2));
  farPlane_ = CC3PlaneNormalize(CC3Vec4Difference(r3, r2));
  arePlanesDirty_ = false;
}

void CC3Frustum::setPlanes(CC3Plane top, CC3Plane bottom, CC3Plane left, CC3Plane right,
                           CC3Plane near, CC3Plane far) {
  topPlane_ = top;
  bottomPlane_ = bottom;
  leftPlane_ = left;
  rightPlane_ = right;
  nearPlane_ = near;
  farPlane_ = far;
  arePlanesDirty_ = false;
}

bool CC3Frustum::doesIntersectSphereAt(CC3Vec3 center, GLfloat radius) const {
  for (const CC3Plane& plane :
       {nearPlane_, rightPlane_, leftPlane_, topPlane_, bottomPlane_, farPlane_}) {
    if (CC3DistanceFromNormalizedPlane(plane, center) + radius < 0) return false;
  }
  return true;
}

std::string CC3Frustum::description() const {
  char text[192];
  std::snprintf(
      text, sizeof text, " top: %.3f, bottom: %.3f, left: %.3f, right: %.3f, near: %.3f, far: %.3f",
      double(top_), double(bottom_), double(left_), double(right_), double(near_), double(far_));
  return NSObject::description() + text;
}

std::string CC3Frustum::fullDescription() const {
  return description() + " topPlane: " + NSStringFromCC3Vec4(topPlane_) +
         " bottomPlane: " + NSStringFromCC3Vec4(bottomPlane_) +
         " leftPlane: " + NSStringFromCC3Vec4(leftPlane_) +
         " rightPlane: " + NSStringFromCC3Vec4(rightPlane_) +
         " nearPlane: " + NSStringFromCC3Vec4(nearPlane_) +
         " farPlane: " + NSStringFromCC3Vec4(farPlane_);
}
