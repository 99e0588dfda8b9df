#pragma once
#include "CC3OpenGLES11StateTrackerComposite.h"
#include "CC3OpenGLES11StateTrackerEnumeration.h"
#include "CC3OpenGLES11StateTrackerInteger.h"
#include "CC3OpenGLES11StateTrackerPointer.h"

// Size, type, stride and address of one vertex array. The pointer call is
// made on every use: a change of buffer binding changes what the same
// address means, and the tracker cannot see that.
class CC3OpenGLES11StateTrackerVertexPointer : public CC3OpenGLES11StateTrackerComposite {
 public:
  CC3OpenGLES11StateTrackerInteger* elementSize() const { return elementSize_.get(); }
  CC3OpenGLES11StateTrackerEnumeration* elementType() const { return elementType_.get(); }
  CC3OpenGLES11StateTrackerInteger* elementStride() const { return elementStride_.get(); }
  CC3OpenGLES11StateTrackerPointer* elementPointer() const { return elementPointer_.get(); }

  void useElementsAt(const GLvoid* pointer, GLint size, GLenum type, GLsizei stride);

 protected:
  CC3OpenGLES11StateTrackerVertexPointer();

  virtual void setGLValues() = 0;
  // Vertex pointers are never restored.
  void restoreOriginalValues() override {}

 private:
  Ptr<CC3OpenGLES11StateTrackerInteger> elementSize_;
  Ptr<CC3OpenGLES11StateTrackerEnumeration> elementType_;
  Ptr<CC3OpenGLES11StateTrackerInteger> elementStride_;
  Ptr<CC3OpenGLES11StateTrackerPointer> elementPointer_;
};
