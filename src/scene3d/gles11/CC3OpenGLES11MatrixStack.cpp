#include "CC3OpenGLES11MatrixStack.h"

#include "CC3OpenGLES11Calls.h"

void CC3OpenGLES11MatrixStack::push() {
  activate();
  CC3OpenGLES11Calls::set(glPushMatrix);
}

void CC3OpenGLES11MatrixStack::pop() {
  activate();
  CC3OpenGLES11Calls::set(glPopMatrix);
}

void CC3OpenGLES11MatrixStack::load(const GLfloat* matrix) {
  activate();
  CC3OpenGLES11Calls::set(glLoadMatrixf, matrix);
}

void CC3OpenGLES11MatrixStack::multiply(const GLfloat* matrix) {
  activate();
  CC3OpenGLES11Calls::set(glMultMatrixf, matrix);
}

void CC3OpenGLES11MatrixStack::identity() {
  activate();
  CC3OpenGLES11Calls::set(glLoadIdentity);
}

void CC3OpenGLES11MatrixStack::getTop(GLfloat* matrix) {
  activate();
  CC3OpenGLES11Calls::query(glGetFloatv, topName_, matrix);
}

GLuint CC3OpenGLES11MatrixStack::getDepth() {
  activate();
  GLint depth = 0;
  CC3OpenGLES11Calls::query(glGetIntegerv, depthName_, &depth);
  return GLuint(depth);
}
