#pragma once
#include "CC3OpenGLES11StateTrackerFloat.h"

// A material float (shininess), set for front and back faces.
class CC3OpenGLES11StateTrackerMaterialFloat : public CC3OpenGLES11StateTrackerFloat {
 public:
  explicit CC3OpenGLES11StateTrackerMaterialFloat(
      GLenum name, CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueIgnore)
      : CC3OpenGLES11StateTrackerFloat(name, handling) {}

 protected:
  void setGLValue() override {
    CC3OpenGLES11Calls::set(glMaterialf, GL_FRONT_AND_BACK, name(), value_);
  }
  GLfloat getGLValue() const override {
    GLfloat v = 0;
    CC3OpenGLES11Calls::query(glGetMaterialfv, GL_FRONT, name(), &v);
    return v;
  }
};
