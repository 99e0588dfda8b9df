#pragma once
#include "CC3OpenGLES11StateTrackerBoolean.h"

// A GL capability switched on and off; by default it gives the 2D engine's
// setting back when the 3D pass closes.
class CC3OpenGLES11StateTrackerCapability : public CC3OpenGLES11StateTrackerBoolean {
 public:
  explicit CC3OpenGLES11StateTrackerCapability(
      GLenum name,
      CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueReadOnceAndRestore)
      : CC3OpenGLES11StateTrackerBoolean(name, nullptr, handling) {}

  void enable() { setValue(true); }
  void disable() { setValue(false); }

 protected:
  bool getGLValue() const override {
    return CC3OpenGLES11Calls::query(glIsEnabled, name()) != GL_FALSE;
  }
};
