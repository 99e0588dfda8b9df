#pragma once
#include "CCDirector.h"

// The device director: draws each frame in the device orientation into the
// graphics view, with the content scale factor of the screen.
class CCDirectorIOS : public CCDirector {
 public:
  void drawScene() override;
  void setProjection(ccDirectorProjection projection) override;
  void setOpenGLView(EAGLView* view) override;
  void reshapeProjection(CGSize size) override;
  void end() override;

  UIDeviceOrientation deviceOrientation() const override { return deviceOrientation_; }
  void setDeviceOrientation(UIDeviceOrientation orientation) override;
  float contentScaleFactor() const override { return __ccContentScaleFactor; }
  void setContentScaleFactor(float scaleFactor) override;
  bool enableRetinaDisplay(bool enabled) override;
  bool isContentScaleSupported() const { return isContentScaleSupported_; }

  CGPoint convertToGL(CGPoint point) const override;
  CGPoint convertToUI(CGPoint point) const override;

 protected:
  CCDirectorIOS();
  void applyOrientation();
  void updateContentScaleFactor();
  UIDeviceOrientation deviceOrientation_ = UIDeviceOrientationPortrait;
  bool isContentScaleSupported_ = false;
};
