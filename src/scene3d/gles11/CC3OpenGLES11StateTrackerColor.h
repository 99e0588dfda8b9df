#pragma once
#include "CC3OpenGLES11Calls.h"
#include "CC3OpenGLES11StateTrackerTyped.h"
#include "ccTypes.h"

class CC3OpenGLES11StateTrackerColor : public CC3OpenGLES11StateTrackerTyped<ccColor4F> {
 public:
  using SetFunction = void (*)(GLfloat, GLfloat, GLfloat, GLfloat);

  CC3OpenGLES11StateTrackerColor(
      GLenum name, SetFunction setGLFunction,
      CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueIgnore)
      : CC3OpenGLES11StateTrackerTyped(name, handling), setGLFunction_(setGLFunction) {}

 protected:
  void setGLValue() override {
    if (setGLFunction_) {
      CC3OpenGLES11Calls::set(setGLFunction_, value_.r, value_.g, value_.b, value_.a);
    }
  }
  ccColor4F getGLValue() const override {
    GLfloat v[4] = {};
    CC3OpenGLES11Calls::query(glGetFloatv, name(), v);
    return {v[0], v[1], v[2], v[3]};
  }

 private:
  SetFunction setGLFunction_;
};
