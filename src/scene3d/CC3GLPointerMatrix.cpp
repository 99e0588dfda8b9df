#include "CC3GLPointerMatrix.h"

bool CC3GLPointerMatrix::initOnGLMatrix(GLfloat* aGLMatrix) {
  if (!aGLMatrix) return false;
  glMatrix_ = aGLMatrix;
  return true;
}
