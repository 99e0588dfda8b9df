#pragma once
#include "CC3OpenGLES11StateTrackerLightColor.h"
#include "CC3OpenGLES11StateTrackerLightFloat.h"
#include "CC3OpenGLES11StateTrackerLightVector.h"
#include "CC3OpenGLES11StateTrackerLightVector4.h"
#include "CC3OpenGLES11StateTrackerManager.h"

// The parameters of one GL light.
class CC3OpenGLES11Light : public CC3OpenGLES11StateTrackerManager {
 public:
  explicit CC3OpenGLES11Light(GLuint lightIndex) : lightIndex_(lightIndex) {}

  GLuint lightIndex() const { return lightIndex_; }
  CC3OpenGLES11StateTrackerLightColor* ambientColor() const { return ambientColor_.get(); }
  CC3OpenGLES11StateTrackerLightColor* diffuseColor() const { return diffuseColor_.get(); }
  CC3OpenGLES11StateTrackerLightColor* specularColor() const { return specularColor_.get(); }
  CC3OpenGLES11StateTrackerLightVector4* position() const { return position_.get(); }
  CC3OpenGLES11StateTrackerLightVector* spotDirection() const { return spotDirection_.get(); }
  CC3OpenGLES11StateTrackerLightFloat* spotCutoffAngle() const { return spotCutoffAngle_.get(); }

 protected:
  void initializeTrackers() override {
    ambientColor_ = track<CC3OpenGLES11StateTrackerLightColor>(GL_AMBIENT, lightIndex_);
    diffuseColor_ = track<CC3OpenGLES11StateTrackerLightColor>(GL_DIFFUSE, lightIndex_);
    specularColor_ = track<CC3OpenGLES11StateTrackerLightColor>(GL_SPECULAR, lightIndex_);
    position_ = track<CC3OpenGLES11StateTrackerLightVector4>(GL_POSITION, lightIndex_);
    spotDirection_ = track<CC3OpenGLES11StateTrackerLightVector>(GL_SPOT_DIRECTION, lightIndex_);
    spotCutoffAngle_ = track<CC3OpenGLES11StateTrackerLightFloat>(GL_SPOT_CUTOFF, lightIndex_);
  }

 private:
  GLuint lightIndex_;
  Ptr<CC3OpenGLES11StateTrackerLightColor> ambientColor_, diffuseColor_, specularColor_;
  Ptr<CC3OpenGLES11StateTrackerLightVector4> position_;
  Ptr<CC3OpenGLES11StateTrackerLightVector> spotDirection_;
  Ptr<CC3OpenGLES11StateTrackerLightFloat> spotCutoffAngle_;
};
