#pragma once
#include "CC3Foundation.h"
#include "CC3OpenGLES11Calls.h"
#include "CC3OpenGLES11StateTrackerTyped.h"

// Four integers set together: the viewport or the scissor box.
class CC3OpenGLES11StateTrackerViewport : public CC3OpenGLES11StateTrackerTyped<CC3Viewport> {
 public:
  using SetFunction = void (*)(GLint, GLint, GLsizei, GLsizei);

  CC3OpenGLES11StateTrackerViewport(
      GLenum name, SetFunction setGLFunction,
      CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueIgnore)
      : CC3OpenGLES11StateTrackerTyped(name, handling), setGLFunction_(setGLFunction) {}

 protected:
  void setGLValue() override {
    if (setGLFunction_)
      CC3OpenGLES11Calls::set(setGLFunction_, value_.x, value_.y, value_.w, value_.h);
  }
  CC3Viewport getGLValue() const override {
    GLint v[4] = {};
    CC3OpenGLES11Calls::query(glGetIntegerv, name(), v);
    return {v[0], v[1], v[2], v[3]};
  }

 private:
  SetFunction setGLFunction_;
};
