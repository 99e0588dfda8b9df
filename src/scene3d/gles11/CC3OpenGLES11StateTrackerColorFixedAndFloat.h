#pragma once
#include "CC3OpenGLES11StateTrackerColor.h"

// A colour GL takes either as floats or as bytes (the current colour). The
// two forms are tracked apart, so switching between them always reaches GL.
class CC3OpenGLES11StateTrackerColorFixedAndFloat : public CC3OpenGLES11StateTrackerColor {
 public:
  using SetFunctionFixed = void (*)(GLubyte, GLubyte, GLubyte, GLubyte);

  CC3OpenGLES11StateTrackerColorFixedAndFloat(
      GLenum name, SetFunction setGLFunction, SetFunctionFixed setGLFunctionFixed,
      CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueIgnore)
      : CC3OpenGLES11StateTrackerColor(name, setGLFunction, handling),
        setGLFunctionFixed_(setGLFunctionFixed) {}

  ccColor4B fixedValue() const { return fixedValue_; }
  bool fixedValueIsKnown() const { return fixedValueIsKnown_; }

  bool attemptSetValue(ccColor4F value) override {
    if (!CC3OpenGLES11StateTrackerColor::attemptSetValue(value)) return false;
    fixedValueIsKnown_ = false;
    return true;
  }

  void setFixedValue(ccColor4B value) {
    if (fixedValueIsKnown_ && value == fixedValue_) return;
    fixedValue_ = value;
    fixedValueIsKnown_ = true;
    setValueIsKnown(false);
    if (setGLFunctionFixed_) {
      CC3OpenGLES11Calls::set(setGLFunctionFixed_, value.r, value.g, value.b, value.a);
    }
  }

 private:
  SetFunctionFixed setGLFunctionFixed_;
  ccColor4B fixedValue_;
  bool fixedValueIsKnown_ = false;
};
