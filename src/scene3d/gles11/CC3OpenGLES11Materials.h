#pragma once
#include "CC3OpenGLES11StateTrackerManager.h"
#include "CC3OpenGLES11StateTrackerMaterialBlend.h"
#include "CC3OpenGLES11StateTrackerMaterialColor.h"
#include "CC3OpenGLES11StateTrackerMaterialFloat.h"

class CC3OpenGLES11Materials : public CC3OpenGLES11StateTrackerManager {
 public:
  using Color = CC3OpenGLES11StateTrackerMaterialColor;

  Color* ambientColor() const { return ambientColor_.get(); }
  Color* diffuseColor() const { return diffuseColor_.get(); }
  Color* specularColor() const { return specularColor_.get(); }
  Color* emissionColor() const { return emissionColor_.get(); }
  CC3OpenGLES11StateTrackerMaterialFloat* shininess() const { return shininess_.get(); }
  CC3OpenGLES11StateTrackerMaterialBlend* blend() const { return blend_.get(); }

 protected:
  void initializeTrackers() override {
    ambientColor_ = track<Color>(GL_AMBIENT);
    diffuseColor_ = track<Color>(GL_DIFFUSE);
    specularColor_ = track<Color>(GL_SPECULAR);
    emissionColor_ = track<Color>(GL_EMISSION);
    shininess_ = track<CC3OpenGLES11StateTrackerMaterialFloat>(GL_SHININESS);
    blend_ = track<CC3OpenGLES11StateTrackerMaterialBlend>();
  }

 private:
  Ptr<Color> ambientColor_, diffuseColor_, specularColor_, emissionColor_;
  Ptr<CC3OpenGLES11StateTrackerMaterialFloat> shininess_;
  Ptr<CC3OpenGLES11StateTrackerMaterialBlend> blend_;
};
