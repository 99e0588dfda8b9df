#pragma once
#include "CC3OpenGLES11Calls.h"
#include "CC3OpenGLES11StateTrackerVertexPointer.h"

class CC3OpenGLES11StateTrackerVertexPointSizesPointer
    : public CC3OpenGLES11StateTrackerVertexPointer {
 public:
  CC3OpenGLES11StateTrackerVertexPointSizesPointer() = default;

 protected:
  void setGLValues() override {
    CC3OpenGLES11Calls::set(glPointSizePointerOES, elementType()->value(), elementStride()->value(),
                            elementPointer()->value());
  }
};
