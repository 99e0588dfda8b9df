#pragma once
#include "CC3OpenGLES11StateTrackerComposite.h"
#include "CC3OpenGLES11StateTrackerEnumeration.h"

// The blend function: source and destination factors set by one call.
class CC3OpenGLES11StateTrackerMaterialBlend : public CC3OpenGLES11StateTrackerComposite {
 public:
  explicit CC3OpenGLES11StateTrackerMaterialBlend(
      CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueReadOnceAndRestore);

  CC3OpenGLES11StateTrackerEnumeration* sourceBlend() const { return sourceBlend_.get(); }
  CC3OpenGLES11StateTrackerEnumeration* destinationBlend() const { return destinationBlend_.get(); }

  // One glBlendFunc when either factor changed.
  void applySource(GLenum source, GLenum destination);

 protected:
  void restoreOriginalValues() override;

 private:
  Ptr<CC3OpenGLES11StateTrackerEnumeration> sourceBlend_;
  Ptr<CC3OpenGLES11StateTrackerEnumeration> destinationBlend_;
};
