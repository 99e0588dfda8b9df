#pragma once
#include "CC3OpenGLES11StateTrackerCapability.h"

// glEnable / glDisable.
class CC3OpenGLES11StateTrackerServerCapability : public CC3OpenGLES11StateTrackerCapability {
 public:
  using CC3OpenGLES11StateTrackerCapability::CC3OpenGLES11StateTrackerCapability;

 protected:
  void setGLValue() override {
    if (value_) {
      CC3OpenGLES11Calls::set(glEnable, name());
    } else {
      CC3OpenGLES11Calls::set(glDisable, name());
    }
  }
};
