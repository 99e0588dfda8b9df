#pragma once
#include "CC3OpenGLES11StateTrackerColor.h"

// A colour parameter of light 0 + lightIndex (glLightfv).
class CC3OpenGLES11StateTrackerLightColor : public CC3OpenGLES11StateTrackerColor {
 public:
  CC3OpenGLES11StateTrackerLightColor(
      GLenum name, GLuint lightIndex,
      CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueIgnore)
      : CC3OpenGLES11StateTrackerColor(name, nullptr, handling), lightIndex_(lightIndex) {}

  GLuint lightIndex() const { return lightIndex_; }

 protected:
  void setGLValue() override {
    GLfloat v[4] = {value_.r, value_.g, value_.b, value_.a};
    CC3OpenGLES11Calls::set(glLightfv, GL_LIGHT0 + lightIndex_, name(), v);
  }
  ccColor4F getGLValue() const override {
    GLfloat v[4] = {};
    CC3OpenGLES11Calls::query(glGetLightfv, GL_LIGHT0 + lightIndex_, name(), v);
    return {v[0], v[1], v[2], v[3]};
  }

 private:
  GLuint lightIndex_;
};
