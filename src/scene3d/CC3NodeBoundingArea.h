#pragma once
#include "CC3BoundingVolumes.h"
#include "CGGeometry.h"

// A bounding volume for 2D content: never in a frustum, so the 3D pass draws
// nothing of it, and always meeting any bounds.
class CC3NodeBoundingArea : public CC3NodeBoundingVolume {
 public:
  static Ptr<CC3NodeBoundingArea> boundingVolume() { return makeObject<CC3NodeBoundingArea>(); }
  bool doesIntersectFrustum(CC3Frustum*) override { return false; }
  virtual bool doesIntersectBounds(CGRect) { return true; }

 protected:
  CC3NodeBoundingVolume* newInstance() const override { return new CC3NodeBoundingArea(); }
};
