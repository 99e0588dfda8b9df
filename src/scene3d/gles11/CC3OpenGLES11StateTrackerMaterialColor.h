#pragma once
#include "CC3OpenGLES11StateTrackerColor.h"

// A material colour, set for front and back faces, read from the front.
class CC3OpenGLES11StateTrackerMaterialColor : public CC3OpenGLES11StateTrackerColor {
 public:
  explicit CC3OpenGLES11StateTrackerMaterialColor(
      GLenum name, CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueIgnore)
      : CC3OpenGLES11StateTrackerColor(name, nullptr, handling) {}

 protected:
  void setGLValue() override {
    GLfloat v[4] = {value_.r, value_.g, value_.b, value_.a};
    CC3OpenGLES11Calls::set(glMaterialfv, GL_FRONT_AND_BACK, name(), v);
  }
  ccColor4F getGLValue() const override {
    GLfloat v[4] = {};
    CC3OpenGLES11Calls::query(glGetMaterialfv, GL_FRONT, name(), v);
    return {v[0], v[1], v[2], v[3]};
  }
};
