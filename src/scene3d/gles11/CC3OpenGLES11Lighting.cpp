#include "CC3OpenGLES11Lighting.h"

#include "Assert.h"
#include "CC3OpenGLES11Platform.h"

void CC3OpenGLES11Lighting::initializeTrackers() {
  worldAmbientLight_ = track<CC3OpenGLES11StateTrackerWorldLightColor>(GL_LIGHT_MODEL_AMBIENT);
  GLint count = platform_ ? platform_->maxLights()->value() : 0;
  for (GLint i = 0; i < count; ++i) {
    Ptr<CC3OpenGLES11Light> light = track<CC3OpenGLES11Light>(GLuint(i));
    light->init();
    lights_.push_back(light);
  }
}

CC3OpenGLES11Light* CC3OpenGLES11Lighting::lightAt(GLuint index) const {
  CCAssert(index < lights_.size(), "Light index is beyond the platform's lights");
  return lights_[index].get();
}
