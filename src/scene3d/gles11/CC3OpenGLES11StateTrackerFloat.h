#pragma once
#include "CC3OpenGLES11Calls.h"
#include "CC3OpenGLES11StateTrackerTyped.h"

class CC3OpenGLES11StateTrackerFloat : public CC3OpenGLES11StateTrackerTyped<GLfloat> {
 public:
  using SetFunction = void (*)(GLfloat);

  CC3OpenGLES11StateTrackerFloat(
      GLenum name, SetFunction setGLFunction,
      CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueIgnore)
      : CC3OpenGLES11StateTrackerTyped(name, handling), setGLFunction_(setGLFunction) {}

 protected:
  // Subclasses with another GL entry point leave the function null.
  explicit CC3OpenGLES11StateTrackerFloat(GLenum name, CC3GLESStateOriginalValueHandling handling)
      : CC3OpenGLES11StateTrackerTyped(name, handling), setGLFunction_(nullptr) {}

  void setGLValue() override {
    if (setGLFunction_) CC3OpenGLES11Calls::set(setGLFunction_, value_);
  }
  GLfloat getGLValue() const override {
    GLfloat v = 0;
    CC3OpenGLES11Calls::query(glGetFloatv, name(), &v);
    return v;
  }

 private:
  SetFunction setGLFunction_;
};
