#pragma once
#include "CC3OpenGLES11StateTrackerTyped.h"

// The address part of a vertex pointer; the pointer call itself is made by
// the vertex pointer tracker that owns it.
class CC3OpenGLES11StateTrackerPointer : public CC3OpenGLES11StateTrackerTyped<const GLvoid*> {
 public:
  explicit CC3OpenGLES11StateTrackerPointer(
      GLenum name = 0,
      CC3GLESStateOriginalValueHandling handling = kCC3GLESStateOriginalValueIgnore)
      : CC3OpenGLES11StateTrackerTyped(name, handling) {}

 protected:
  void setGLValue() override {}
  const GLvoid* getGLValue() const override { return nullptr; }
};
