#pragma once
#include <string>

#include "CC3Foundation.h"
#include "CC3GLMatrix.h"
#include "NSObject.h"

// The camera's clipping volume: the perspective projection built from the
// camera's lens settings, its edges at the near plane, and six planes in
// world coordinates with unit normals pointing inwards, rebuilt lazily from
// the projection and the view matrix.
class CC3Frustum : public NSObject {
 public:
  static Ptr<CC3Frustum> frustum();
  CC3Frustum();

  // Identity projection, planes dirty.
  bool init();

  CC3GLMatrix* projectionMatrix() const { return projectionMatrix_.get(); }
  GLfloat top() const { return top_; }
  GLfloat bottom() const { return bottom_; }
  GLfloat left() const { return left_; }
  GLfloat right() const { return right_; }
  GLfloat near() const { return near_; }
  GLfloat far() const { return far_; }

  // Edges at the near plane from the vertical field of view in degrees;
  // a larger zoom narrows the view, and a zoom of 0 or less collapses it.
  void populateFrom(GLfloat fieldOfView, GLfloat aspect, GLfloat nearClip, GLfloat farClip,
                    GLfloat zoom);

  bool arePlanesDirty() const { return arePlanesDirty_; }
  void markPlanesDirty() { arePlanesDirty_ = true; }
  // Extracts the planes from projection x view; does nothing when clean.
  void buildPlanes(const CC3GLMatrix* viewMatrix);

  CC3Plane topPlane() const { return topPlane_; }
  CC3Plane bottomPlane() const { return bottomPlane_; }
  CC3Plane leftPlane() const { return leftPlane_; }
  CC3Plane rightPlane() const { return rightPlane_; }
  CC3Plane nearPlane() const { return nearPlane_; }
  CC3Plane farPlane() const { return farPlane_; }
  // Planes given directly (already normalised) are taken as clean.
  void setPlanes(CC3Plane top, CC3Plane bottom, CC3Plane left, CC3Plane right, CC3Plane near,
                 CC3Plane far);

  // A sphere is outside only when it lies wholly behind one plane; touching
  // a plane counts as inside.
  bool doesIntersectSphereAt(CC3Vec3 center, GLfloat radius) const;
  bool doesIntersectPointAt(CC3Vec3 location) const { return doesIntersectSphereAt(location, 0); }

  std::string description() const override;
  std::string fullDescription() const;

 protected:
  Ptr<CC3GLMatrix> projectionMatrix_;
  GLfloat bottom_ = 0, left_ = 0, right_ = 0, near_ = 0, far_ = 0;
  CC3Plane topPlane_, bottomPlane_, leftPlane_, rightPlane_, nearPlane_, farPlane_;
  bool arePlanesDirty_ = true;
  GLfloat top_ = 0;
};
