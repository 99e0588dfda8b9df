#pragma once
#include "CC3OpenGLES11Calls.h"
#include "CC3OpenGLES11StateTrackerTyped.h"

// Also holds values that no single call sets (platform limits, the parts of a
// vertex pointer): those have no set function.
class CC3OpenGLES11StateTrackerInteger : public CC3OpenGLES11StateTrackerTyped<GLint> {
 public:
  using SetFunction = void (*)(GLint);

  explicit CC3OpenGLES11StateTrackerInteger(
      GLenum name, SetFunction setGLFunction = nullptr,
      CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueIgnore)
      : CC3OpenGLES11StateTrackerTyped(name, handling), setGLFunction_(setGLFunction) {}

 protected:
  void setGLValue() override {
    if (setGLFunction_) CC3OpenGLES11Calls::set(setGLFunction_, value_);
  }
  GLint getGLValue() const override {
    GLint v = 0;
    CC3OpenGLES11Calls::query(glGetIntegerv, name(), &v);
    return v;
  }

 private:
  SetFunction setGLFunction_;
};
