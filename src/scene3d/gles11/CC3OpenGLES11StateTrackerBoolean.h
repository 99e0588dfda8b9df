#pragma once
#include "CC3OpenGLES11Calls.h"
#include "CC3OpenGLES11StateTrackerTyped.h"

class CC3OpenGLES11StateTrackerBoolean : public CC3OpenGLES11StateTrackerTyped<bool> {
 public:
  using SetFunction = void (*)(GLboolean);

  CC3OpenGLES11StateTrackerBoolean(
      GLenum name, SetFunction setGLFunction,
      CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueIgnore)
      : CC3OpenGLES11StateTrackerTyped(name, handling), setGLFunction_(setGLFunction) {}

 protected:
  void setGLValue() override {
    if (setGLFunction_) CC3OpenGLES11Calls::set(setGLFunction_, GLboolean(value_));
  }
  bool getGLValue() const override {
    GLboolean v = GL_FALSE;
    CC3OpenGLES11Calls::query(glGetBooleanv, name(), &v);
    return v != GL_FALSE;
  }

 private:
  SetFunction setGLFunction_;
};
