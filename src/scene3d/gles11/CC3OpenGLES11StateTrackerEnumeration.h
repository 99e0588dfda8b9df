#pragma once
#include "CC3OpenGLES11Calls.h"
#include "CC3OpenGLES11StateTrackerTyped.h"

class CC3OpenGLES11StateTrackerEnumeration : public CC3OpenGLES11StateTrackerTyped<GLenum> {
 public:
  using SetFunction = void (*)(GLenum);

  explicit CC3OpenGLES11StateTrackerEnumeration(
      GLenum name, SetFunction setGLFunction = nullptr,
      CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueIgnore)
      : CC3OpenGLES11StateTrackerTyped(name, handling), setGLFunction_(setGLFunction) {}

 protected:
  void setGLValue() override {
    if (setGLFunction_) CC3OpenGLES11Calls::set(setGLFunction_, value_);
  }
  GLenum getGLValue() const override {
    GLint v = 0;
    CC3OpenGLES11Calls::query(glGetIntegerv, name(), &v);
    return GLenum(v);
  }

 private:
  SetFunction setGLFunction_;
};
