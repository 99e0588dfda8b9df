#pragma once
#include "CC3OpenGLES11Calls.h"
#include "CC3OpenGLES11StateTrackerTyped.h"

// The active (or client-active) texture unit, as an index from unit 0.
class CC3OpenGLES11StateTrackerActiveTexture : public CC3OpenGLES11StateTrackerTyped<GLuint> {
 public:
  using SetFunction = void (*)(GLenum);

  CC3OpenGLES11StateTrackerActiveTexture(
      GLenum name, SetFunction setGLFunction,
      CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueReadOnceAndRestore)
      : CC3OpenGLES11StateTrackerTyped(name, handling), setGLFunction_(setGLFunction) {}

 protected:
  void setGLValue() override {
    if (setGLFunction_) CC3OpenGLES11Calls::set(setGLFunction_, GL_TEXTURE0 + value_);
  }
  GLuint getGLValue() const override {
    GLint v = GL_TEXTURE0;
    CC3OpenGLES11Calls::query(glGetIntegerv, name(), &v);
    return GLuint(v) - GL_TEXTURE0;
  }

 private:
  SetFunction setGLFunction_;
};
