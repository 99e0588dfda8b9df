#pragma once
#include "CC3OpenGLES11StateTrackerVector4.h"

// A homogeneous parameter of light 0 + lightIndex (the position). GL applies
// the current model-view matrix when it is set.
class CC3OpenGLES11StateTrackerLightVector4 : public CC3OpenGLES11StateTrackerVector4 {
 public:
  CC3OpenGLES11StateTrackerLightVector4(
      GLenum name, GLuint lightIndex,
      CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueIgnore)
      : CC3OpenGLES11StateTrackerVector4(name, handling), lightIndex_(lightIndex) {}

  GLuint lightIndex() const { return lightIndex_; }

 protected:
  void setGLValue() override {
    GLfloat v[4] = {value_.x, value_.y, value_.z, value_.w};
    CC3OpenGLES11Calls::set(glLightfv, GL_LIGHT0 + lightIndex_, name(), v);
  }
  CC3Vec4 getGLValue() const override {
    GLfloat v[4] = {};
    CC3OpenGLES11Calls::query(glGetLightfv, GL_LIGHT0 + lightIndex_, name(), v);
    return {v[0], v[1], v[2], v[3]};
  }

 private:
  GLuint lightIndex_;
};
