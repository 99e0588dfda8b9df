#pragma once
#include "CC3OpenGLES11Calls.h"
#include "CC3OpenGLES11StateTrackerTyped.h"

// The buffer bound to the array-buffer target (its `name`); read back
// through `queryName`.
class CC3OpenGLES11StateTrackerArrayBufferBinding : public CC3OpenGLES11StateTrackerTyped<GLuint> {
 public:
  explicit CC3OpenGLES11StateTrackerArrayBufferBinding(
      GLenum target = GL_ARRAY_BUFFER, GLenum queryName = GL_ARRAY_BUFFER_BINDING,
      CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueReadOnceAndRestore)
      : CC3OpenGLES11StateTrackerTyped(target, handling), queryName_(queryName) {}

  GLenum queryName() const { return queryName_; }
  void unbind() { setValue(0); }
  // Loads data into the buffer bound now.
  void loadBufferData(const GLvoid* data, GLsizeiptr length, GLenum usage) {
    CC3OpenGLES11Calls::set(glBufferData, name(), length, data, usage);
  }
  // GL drops the binding of a deleted buffer; so must the tracker, or a new
  // buffer given the same name would not be bound.
  void bufferWasDeleted(GLuint buffer) {
    if (valueIsKnown() && value_ == buffer) value_ = 0;
  }

 protected:
  void setGLValue() override { CC3OpenGLES11Calls::set(glBindBuffer, name(), value_); }
  GLuint getGLValue() const override {
    GLint v = 0;
    CC3OpenGLES11Calls::query(glGetIntegerv, queryName_, &v);
    return GLuint(v);
  }

 private:
  GLenum queryName_;
};
