#pragma once
#include "CC3OpenGLES11StateTrackerVector.h"

// A direction parameter of light 0 + lightIndex (the spot direction).
class CC3OpenGLES11StateTrackerLightVector : public CC3OpenGLES11StateTrackerVector {
 public:
  CC3OpenGLES11StateTrackerLightVector(
      GLenum name, GLuint lightIndex,
      CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueIgnore)
      : CC3OpenGLES11StateTrackerVector(name, handling), lightIndex_(lightIndex) {}

  GLuint lightIndex() const { return lightIndex_; }

 protected:
  void setGLValue() override {
    GLfloat v[3] = {value_.x, value_.y, value_.z};
    CC3OpenGLES11Calls::set(glLightfv, GL_LIGHT0 + lightIndex_, name(), v);
  }
  CC3Vec3 getGLValue() const override {
    GLfloat v[3] = {};
    CC3OpenGLES11Calls::query(glGetLightfv, GL_LIGHT0 + lightIndex_, name(), v);
    return {v[0], v[1], v[2]};
  }

 private:
  GLuint lightIndex_;
};
