#pragma once
#include "CC3OpenGLES11StateTrackerFloat.h"

// A float parameter of light 0 + lightIndex (glLightf).
class CC3OpenGLES11StateTrackerLightFloat : public CC3OpenGLES11StateTrackerFloat {
 public:
  CC3OpenGLES11StateTrackerLightFloat(
      GLenum name, GLuint lightIndex,
      CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueIgnore)
      : CC3OpenGLES11StateTrackerFloat(name, handling), lightIndex_(lightIndex) {}

  GLuint lightIndex() const { return lightIndex_; }

 protected:
  void setGLValue() override {
    CC3OpenGLES11Calls::set(glLightf, GL_LIGHT0 + lightIndex_, name(), value_);
  }
  GLfloat getGLValue() const override {
    GLfloat v = 0;
    CC3OpenGLES11Calls::query(glGetLightfv, GL_LIGHT0 + lightIndex_, name(), &v);
    return v;
  }

 private:
  GLuint lightIndex_;
};
