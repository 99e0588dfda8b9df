#pragma once
#include "CC3OpenGLES11Calls.h"
#include "CC3OpenGLES11StateTrackerTyped.h"

// The texture name bound to the 2D target of the active unit.
class CC3OpenGLES11StateTrackerTextureBinding : public CC3OpenGLES11StateTrackerTyped<GLuint> {
 public:
  explicit CC3OpenGLES11StateTrackerTextureBinding(
      GLenum name = GL_TEXTURE_BINDING_2D,
      CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueIgnore)
      : CC3OpenGLES11StateTrackerTyped(name, handling) {}

  void unbind() { setValue(0); }

 protected:
  void setGLValue() override { CC3OpenGLES11Calls::set(glBindTexture, GL_TEXTURE_2D, value_); }
  GLuint getGLValue() const override {
    GLint v = 0;
    CC3OpenGLES11Calls::query(glGetIntegerv, name(), &v);
    return GLuint(v);
  }
};
