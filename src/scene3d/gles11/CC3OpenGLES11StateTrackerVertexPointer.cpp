#include "CC3OpenGLES11StateTrackerVertexPointer.h"

CC3OpenGLES11StateTrackerVertexPointer::CC3OpenGLES11StateTrackerVertexPointer()
    : CC3OpenGLES11StateTrackerComposite(kCC3GLESStateOriginalValueIgnore),
      elementSize_(makeObject<CC3OpenGLES11StateTrackerInteger>(0)),
      elementType_(makeObject<CC3OpenGLES11StateTrackerEnumeration>(0)),
      elementStride_(makeObject<CC3OpenGLES11StateTrackerInteger>(0)),
      elementPointer_(makeObject<CC3OpenGLES11StateTrackerPointer>()) {
  addMember(elementSize_.get());
  addMember(elementType_.get());
  addMember(elementStride_.get());
  addMember(elementPointer_.get());
  setShouldAlwaysSetGL(true);
}

void CC3OpenGLES11StateTrackerVertexPointer::useElementsAt(const GLvoid* pointer, GLint size,
                                                           GLenum type, GLsizei stride) {
  bool changed = elementSize_->attemptSetValue(size);
  changed = elementType_->attemptSetValue(type) || changed;
  changed = elementStride_->attemptSetValue(stride) || changed;
  changed = elementPointer_->attemptSetValue(pointer) || changed;
  if (changed || shouldAlwaysSetGL()) setGLValues();
}
