#pragma once
#include "CC3OpenGLES11StateTrackerActiveTexture.h"
#include "CC3OpenGLES11StateTrackerManager.h"
#include "CC3OpenGLES11StateTrackerTextureBinding.h"

class CC3OpenGLES11Textures : public CC3OpenGLES11StateTrackerManager {
 public:
  CC3OpenGLES11StateTrackerActiveTexture* activeTexture() const { return activeTexture_.get(); }
  CC3OpenGLES11StateTrackerActiveTexture* clientActiveTexture() const {
    return clientActiveTexture_.get();
  }
  CC3OpenGLES11StateTrackerTextureBinding* textureBinding() const { return textureBinding_.get(); }

 protected:
  void initializeTrackers() override {
    activeTexture_ =
        track<CC3OpenGLES11StateTrackerActiveTexture>(GL_ACTIVE_TEXTURE, glActiveTexture);
    clientActiveTexture_ = track<CC3OpenGLES11StateTrackerActiveTexture>(GL_CLIENT_ACTIVE_TEXTURE,
                                                                         glClientActiveTexture);
    textureBinding_ = track<CC3OpenGLES11StateTrackerTextureBinding>();
  }

 private:
  Ptr<CC3OpenGLES11StateTrackerActiveTexture> activeTexture_, clientActiveTexture_;
  Ptr<CC3OpenGLES11StateTrackerTextureBinding> textureBinding_;
};
