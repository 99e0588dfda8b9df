#pragma once
#include "CC3OpenGLES11StateTrackerInteger.h"
#include "CC3OpenGLES11StateTrackerManager.h"

// The implementation's limits, read once when the engine is created.
class CC3OpenGLES11Platform : public CC3OpenGLES11StateTrackerManager {
 public:
  CC3OpenGLES11StateTrackerInteger* maxLights() const { return maxLights_.get(); }
  CC3OpenGLES11StateTrackerInteger* maxClipPlanes() const { return maxClipPlanes_.get(); }
  CC3OpenGLES11StateTrackerInteger* maxTextureChannels() const { return maxTextureChannels_.get(); }

 protected:
  void initializeTrackers() override {
    maxLights_ = track<CC3OpenGLES11StateTrackerInteger>(GL_MAX_LIGHTS, nullptr,
                                                         kCC3GLESStateOriginalValueReadOnce);
    maxClipPlanes_ = track<CC3OpenGLES11StateTrackerInteger>(GL_MAX_CLIP_PLANES, nullptr,
                                                             kCC3GLESStateOriginalValueReadOnce);
    maxTextureChannels_ = track<CC3OpenGLES11StateTrackerInteger>(
        GL_MAX_TEXTURE_UNITS, nullptr, kCC3GLESStateOriginalValueReadOnce);
    open();
  }

 private:
  Ptr<CC3OpenGLES11StateTrackerInteger> maxLights_, maxClipPlanes_, maxTextureChannels_;
};
