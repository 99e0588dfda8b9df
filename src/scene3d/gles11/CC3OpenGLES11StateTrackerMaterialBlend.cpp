#include "CC3OpenGLES11StateTrackerMaterialBlend.h"

CC3OpenGLES11StateTrackerMaterialBlend::CC3OpenGLES11StateTrackerMaterialBlend(
    CC3GLESStateOriginalValueHandling handling)
    : CC3OpenGLES11StateTrackerComposite(handling),
      sourceBlend_(makeObject<CC3OpenGLES11StateTrackerEnumeration>(GL_BLEND_SRC)),
      destinationBlend_(makeObject<CC3OpenGLES11StateTrackerEnumeration>(GL_BLEND_DST)) {
  addMember(sourceBlend_.get());
  addMember(destinationBlend_.get());
}

void CC3OpenGLES11StateTrackerMaterialBlend::applySource(GLenum source, GLenum destination) {
  bool changed = sourceBlend_->attemptSetValue(source);
  changed = destinationBlend_->attemptSetValue(destination) || changed;
  if (changed || shouldAlwaysSetGL()) {
    CC3OpenGLES11Calls::set(glBlendFunc, source, destination);
  }
}

void CC3OpenGLES11StateTrackerMaterialBlend::restoreOriginalValues() {
  applySource(sourceBlend_->originalValue(), destinationBlend_->originalValue());
}
