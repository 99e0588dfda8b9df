#pragma once
#include "CC3Foundation.h"
#include "CC3GLMatrix.h"
#include "CGGeometry.h"
#include "NSObject.h"
#include "UIDevice.h"

class CC3World;

// Turns the hosting layer's bounds into the GL viewport for the device
// orientation, and maps points between the layer's 2D space and the
// framebuffer.
class CC3ViewportManager : public NSObject {
 public:
  static Ptr<CC3ViewportManager> viewportManagerOnWorld(CC3World* world);
  CC3ViewportManager();
  bool initOnWorld(CC3World* world);

  CC3World* world() const { return world_; }
  void setWorld(CC3World* world) { world_ = world; }
  CC3Viewport viewport() const { return viewport_; }
  // The layer's bounding box in pixels.
  CGRect layerBounds() const { return layerBounds_; }
  // (0, 0, width, height) of the layer bounds.
  CGRect layerBoundsLocal() const;
  CC3GLMatrix* deviceRotationMatrix() const { return deviceRotationMatrix_.get(); }
  void setDeviceRotationMatrix(CC3GLMatrix* matrix) { deviceRotationMatrix_ = matrix; }

  // Recomputes the viewport and point maps from the layer's box in pixels,
  // using the director's window size and content scale.
  void updateBounds(CGRect bounds, UIDeviceOrientation deviceOrientation);
  // The same with the window size and scale given (what the director reports).
  void updateBounds(CGRect bounds, UIDeviceOrientation deviceOrientation, CGSize windowInPixels,
                    float scale);
  void updateDeviceRotationAngle(GLfloat degrees);

  void openViewport();
  void closeViewport() {}

  CGPoint cc2PointFromGLPoint(CGPoint glPoint) const;
  CGPoint glPointFromCC2Point(CGPoint cc2Point) const;

  std::string description() const override { return className(); }

 private:
  Ptr<CC3GLMatrix> deviceRotationMatrix_;
  CC3World* world_ = nullptr;  // not retained: the world owns this manager
  CGRect layerBounds_ = CGRectZero;
  CC3Viewport viewport_ = kCC3ViewportZero;
  CC3Vec3 glToCC2PointMapX_{1, 0, 0}, glToCC2PointMapY_{0, 1, 0};
  CC3Vec3 cc2ToGLPointMapX_{1, 0, 0}, cc2ToGLPointMapY_{0, 1, 0};
};
