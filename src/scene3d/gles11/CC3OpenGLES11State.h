#pragma once
#include "CC3OpenGLES11StateTrackerBoolean.h"
#include "CC3OpenGLES11StateTrackerColorFixedAndFloat.h"
#include "CC3OpenGLES11StateTrackerEnumeration.h"
#include "CC3OpenGLES11StateTrackerFloat.h"
#include "CC3OpenGLES11StateTrackerInteger.h"
#include "CC3OpenGLES11StateTrackerManager.h"
#include "CC3OpenGLES11StateTrackerViewport.h"
#include "CGGeometry.h"

// Fixed-function state that is not a capability, material, light or matrix.
class CC3OpenGLES11State : public CC3OpenGLES11StateTrackerManager {
 public:
  CC3OpenGLES11StateTrackerColorFixedAndFloat* color() const { return color_.get(); }
  CC3OpenGLES11StateTrackerColor* clearColor() const { return clearColor_.get(); }
  CC3OpenGLES11StateTrackerFloat* clearDepth() const { return clearDepth_.get(); }
  CC3OpenGLES11StateTrackerInteger* clearStencil() const { return clearStencil_.get(); }
  CC3OpenGLES11StateTrackerEnumeration* cullFace() const { return cullFace_.get(); }
  CC3OpenGLES11StateTrackerEnumeration* depthFunction() const { return depthFunction_.get(); }
  CC3OpenGLES11StateTrackerBoolean* depthMask() const { return depthMask_.get(); }
  CC3OpenGLES11StateTrackerEnumeration* frontFace() const { return frontFace_.get(); }
  CC3OpenGLES11StateTrackerFloat* lineWidth() const { return lineWidth_.get(); }
  CC3OpenGLES11StateTrackerViewport* scissor() const { return scissor_.get(); }
  CC3OpenGLES11StateTrackerEnumeration* shadeModel() const { return shadeModel_.get(); }
  CC3OpenGLES11StateTrackerViewport* viewport() const { return viewport_.get(); }

  void clearColorBuffer();
  void clearDepthBuffer();
  void clearStencilBuffer();
  void clearBuffers(GLbitfield mask);
  // RGBA of the framebuffer pixel at a position (floats truncated).
  ccColor4B readPixelAt(CGPoint position);

 protected:
  void initializeTrackers() override;

 private:
  Ptr<CC3OpenGLES11StateTrackerColorFixedAndFloat> color_;
  Ptr<CC3OpenGLES11StateTrackerColor> clearColor_;
  Ptr<CC3OpenGLES11StateTrackerFloat> clearDepth_;
  Ptr<CC3OpenGLES11StateTrackerInteger> clearStencil_;
  Ptr<CC3OpenGLES11StateTrackerEnumeration> cullFace_, depthFunction_;
  Ptr<CC3OpenGLES11StateTrackerBoolean> depthMask_;
  Ptr<CC3OpenGLES11StateTrackerEnumeration> frontFace_;
  Ptr<CC3OpenGLES11StateTrackerFloat> lineWidth_;
  Ptr<CC3OpenGLES11StateTrackerViewport> scissor_;
  Ptr<CC3OpenGLES11StateTrackerEnumeration> shadeModel_;
  Ptr<CC3OpenGLES11StateTrackerViewport> viewport_;
};
