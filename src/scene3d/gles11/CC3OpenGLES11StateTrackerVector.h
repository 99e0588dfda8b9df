#pragma once
#include "CC3Foundation.h"
#include "CC3OpenGLES11Calls.h"
#include "CC3OpenGLES11StateTrackerTyped.h"

// A 3-vector; subclasses say how GL sets it.
class CC3OpenGLES11StateTrackerVector : public CC3OpenGLES11StateTrackerTyped<CC3Vec3> {
 protected:
  using CC3OpenGLES11StateTrackerTyped::CC3OpenGLES11StateTrackerTyped;

  CC3Vec3 getGLValue() const override {
    GLfloat v[3] = {};
    CC3OpenGLES11Calls::query(glGetFloatv, name(), v);
    return {v[0], v[1], v[2]};
  }
};
