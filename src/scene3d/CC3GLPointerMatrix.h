#pragma once
#include "CC3GLMatrix.h"

// A matrix working on sixteen floats owned elsewhere, which must outlive it.
class CC3GLPointerMatrix : public CC3GLMatrix {
 public:
  CC3GLPointerMatrix() = default;

  bool initOnGLMatrix(GLfloat* aGLMatrix);

  GLfloat* glMatrix() override { return glMatrix_; }
  const GLfloat* glMatrix() const override { return glMatrix_; }

 private:
  GLfloat* glMatrix_ = nullptr;
};
