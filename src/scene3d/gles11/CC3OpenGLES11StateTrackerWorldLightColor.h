#pragma once
#include "CC3OpenGLES11StateTrackerColor.h"

// The light model's ambient colour.
class CC3OpenGLES11StateTrackerWorldLightColor : public CC3OpenGLES11StateTrackerColor {
 public:
  explicit CC3OpenGLES11StateTrackerWorldLightColor(
      GLenum name, CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueIgnore)
      : CC3OpenGLES11StateTrackerColor(name, nullptr, handling) {}

 protected:
  void setGLValue() override {
    GLfloat v[4] = {value_.r, value_.g, value_.b, value_.a};
    CC3OpenGLES11Calls::set(glLightModelfv, name(), v);
  }
};
