#pragma once
#include "CC3OpenGLES11StateTrackerCapability.h"

// glEnableClientState / glDisableClientState.
class CC3OpenGLES11StateTrackerClientCapability : public CC3OpenGLES11StateTrackerCapability {
 public:
  using CC3OpenGLES11StateTrackerCapability::CC3OpenGLES11StateTrackerCapability;

 protected:
  void setGLValue() override {
    if (value_) {
      CC3OpenGLES11Calls::set(glEnableClientState, name());
    } else {
      CC3OpenGLES11Calls::set(glDisableClientState, name());
    }
  }
};
