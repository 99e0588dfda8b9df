#pragma once
#include "CC3OpenGLES11MatrixStack.h"
#include "CC3OpenGLES11StateTrackerEnumeration.h"
#include "CC3OpenGLES11StateTrackerManager.h"

class CC3OpenGLES11Matrices : public CC3OpenGLES11StateTrackerManager {
 public:
  CC3OpenGLES11StateTrackerEnumeration* mode() const { return mode_.get(); }
  CC3OpenGLES11MatrixStack* modelview() const { return modelview_.get(); }
  CC3OpenGLES11MatrixStack* projection() const { return projection_.get(); }
  CC3OpenGLES11MatrixStack* texture() const { return texture_.get(); }

 protected:
  void initializeTrackers() override {
    mode_ = track<CC3OpenGLES11StateTrackerEnumeration>(
        GL_MATRIX_MODE, glMatrixMode, kCC3GLESStateOriginalValueReadOnceAndRestore);
    modelview_ = track<CC3OpenGLES11MatrixStack>(GL_MODELVIEW, GL_MODELVIEW_MATRIX,
                                                 GL_MODELVIEW_STACK_DEPTH, mode_.get());
    projection_ = track<CC3OpenGLES11MatrixStack>(GL_PROJECTION, GL_PROJECTION_MATRIX,
                                                  GL_PROJECTION_STACK_DEPTH, mode_.get());
    texture_ = track<CC3OpenGLES11MatrixStack>(GL_TEXTURE, GL_TEXTURE_MATRIX,
                                               GL_TEXTURE_STACK_DEPTH, mode_.get());
  }

 private:
  Ptr<CC3OpenGLES11StateTrackerEnumeration> mode_;
  Ptr<CC3OpenGLES11MatrixStack> modelview_, projection_, texture_;
};
