#pragma once
#include "CC3OpenGLES11Calls.h"
#include "CC3OpenGLES11StateTrackerVertexPointer.h"

class CC3OpenGLES11StateTrackerVertexTexCoordsPointer
    : public CC3OpenGLES11StateTrackerVertexPointer {
 public:
  CC3OpenGLES11StateTrackerVertexTexCoordsPointer() = default;

 protected:
  void setGLValues() override {
    CC3OpenGLES11Calls::set(glTexCoordPointer, elementSize()->value(), elementType()->value(),
                            elementStride()->value(), elementPointer()->value());
  }
};
