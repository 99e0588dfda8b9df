#pragma once
#include "CC3GLMatrix.h"

// A matrix that holds its sixteen floats itself.
class CC3GLArrayMatrix : public CC3GLMatrix {
 public:
  CC3GLArrayMatrix() = default;

  GLfloat* glMatrix() override { return glArray_; }
  const GLfloat* glMatrix() const override { return glArray_; }
  GLfloat* glArray() { return glArray_; }

 private:
  GLfloat glArray_[16] = {};
};
