#pragma once
#include "CC3OpenGLES11Calls.h"
#include "CC3OpenGLES11StateTrackerVertexPointer.h"

class CC3OpenGLES11StateTrackerVertexNormalsPointer
    : public CC3OpenGLES11StateTrackerVertexPointer {
 public:
  CC3OpenGLES11StateTrackerVertexNormalsPointer() = default;

 protected:
  void setGLValues() override {
    CC3OpenGLES11Calls::set(glNormalPointer, elementType()->value(), elementStride()->value(),
                            elementPointer()->value());
  }
};
