#pragma once
#include "CC3Foundation.h"
#include "CC3OpenGLES11Calls.h"
#include "CC3OpenGLES11StateTrackerTyped.h"

// A 4-vector; subclasses say how GL sets it.
class CC3OpenGLES11StateTrackerVector4 : public CC3OpenGLES11StateTrackerTyped<CC3Vec4> {
 protected:
  using CC3OpenGLES11StateTrackerTyped::CC3OpenGLES11StateTrackerTyped;

  CC3Vec4 getGLValue() const override {
    GLfloat v[4] = {};
    CC3OpenGLES11Calls::query(glGetFloatv, name(), v);
    return {v[0], v[1], v[2], v[3]};
  }
};
