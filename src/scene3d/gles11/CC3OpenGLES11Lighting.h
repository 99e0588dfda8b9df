#pragma once
#include <vector>

#include "CC3OpenGLES11Light.h"
#include "CC3OpenGLES11StateTrackerManager.h"
#include "CC3OpenGLES11StateTrackerWorldLightColor.h"

class CC3OpenGLES11Platform;

class CC3OpenGLES11Lighting : public CC3OpenGLES11StateTrackerManager {
 public:
  explicit CC3OpenGLES11Lighting(CC3OpenGLES11Platform* platform) : platform_(platform) {}

  CC3OpenGLES11StateTrackerWorldLightColor* worldAmbientLight() const {
    return worldAmbientLight_.get();
  }
  CC3OpenGLES11Light* lightAt(GLuint index) const;
  GLuint lightCount() const { return GLuint(lights_.size()); }

 protected:
  void initializeTrackers() override;

 private:
  CC3OpenGLES11Platform* platform_;  // not retained: the engine owns both
  Ptr<CC3OpenGLES11StateTrackerWorldLightColor> worldAmbientLight_;
  std::vector<Ptr<CC3OpenGLES11Light>> lights_;
};
