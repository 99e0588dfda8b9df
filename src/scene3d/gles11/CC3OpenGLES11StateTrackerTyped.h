#pragma once
#include "CC3OpenGLES11StateTrackerPrimitive.h"

// The value-holding part shared by the typed trackers: compare, store, call.
template <class T>
class CC3OpenGLES11StateTrackerTyped : public CC3OpenGLES11StateTrackerPrimitive {
 public:
  T value() const { return value_; }
  T originalValue() const { return originalValue_; }
  void setValue(T value) { attemptSetValue(value); }

  // False, and no GL call, when the value is known to be in force already.
  virtual bool attemptSetValue(T value) {
    if (valueIsKnown() && value == value_) return false;
    value_ = value;
    setValueIsKnown(true);
    setGLValue();
    return true;
  }

 protected:
  using CC3OpenGLES11StateTrackerPrimitive::CC3OpenGLES11StateTrackerPrimitive;

  // Sends `value_` to GL.
  virtual void setGLValue() = 0;
  virtual T getGLValue() const = 0;

  void readOriginalValue() override {
    originalValue_ = getGLValue();
    setValue(originalValue_);
  }
  void restoreOriginalValue() override { setValue(originalValue_); }

  T value_{};
  T originalValue_{};
};
