#pragma once
#include "CC3OpenGLES11StateTracker.h"
#include "CC3OpenGLES11StateTrackerEnumeration.h"

// One of GL's matrix stacks. Every operation first makes this stack the
// current matrix mode, through the shared mode tracker, so that switching
// costs a GL call only when the mode really changes.
class CC3OpenGLES11MatrixStack : public CC3OpenGLES11StateTracker {
 public:
  CC3OpenGLES11MatrixStack(GLenum mode, GLenum topName, GLenum depthName,
                           CC3OpenGLES11StateTrackerEnumeration* modeTracker)
      : mode_(mode), topName_(topName), depthName_(depthName), modeTracker_(modeTracker) {}

  GLenum mode() const { return mode_; }
  GLenum topName() const { return topName_; }
  GLenum depthName() const { return depthName_; }
  CC3OpenGLES11StateTrackerEnumeration* modeTracker() const { return modeTracker_; }

  void activate() { modeTracker_->setValue(mode_); }
  void push();
  void pop();
  void load(const GLfloat* matrix);
  void multiply(const GLfloat* matrix);
  void identity();
  void getTop(GLfloat* matrix);
  GLuint getDepth();

 private:
  GLenum mode_, topName_, depthName_;
  CC3OpenGLES11StateTrackerEnumeration* modeTracker_;  // not retained: the manager owns it
};
