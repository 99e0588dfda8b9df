#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "CC3OpenGLES11Light.h"
#include "CC3OpenGLES11StateTrackerServerCapability.h"
#include "CC3TargettingNode.h"

// A node that feeds one fixed-function GL light. The GL light index comes
// from a process-wide pool when the light is made and goes back when it is
// destroyed, whether or not the light ever joins a world. Creating a light
// needs a current GL context: the pool's size is the platform's light count.
class CC3Light : public CC3TargettingNode {
 public:
  // The index a light gets when the pool is exhausted; it is never turned on.
  static constexpr GLuint kNoLightIndex = 0xFFFFFFFFu;

  static Ptr<CC3Light> node();
  static Ptr<CC3Light> nodeWithTag(GLuint tag);
  static Ptr<CC3Light> nodeWithName(std::optional<std::string> name);
  static Ptr<CC3Light> nodeWithTag(GLuint tag, std::optional<std::string> name);
  ~CC3Light() override;

  using CC3TargettingNode::initWithTag;
  bool initWithTag(GLuint tag, std::optional<std::string> name) override;

  GLuint lightIndex() const { return lightIndex_; }
  CC3OpenGLES11Light* gles11Light() const { return gles11Light_.get(); }
  CC3OpenGLES11StateTrackerServerCapability* gles11LightCap() const {
    return gles11LightCap_.get();
  }

  // Colours are stored here and reach GL when the light is turned on.
  ccColor4F ambientColor() const override { return ambientColor_; }
  void setAmbientColor(ccColor4F color) override {
    ambientColor_ = color;
    DrawRevision::bump();
  }
  ccColor4F diffuseColor() const override { return diffuseColor_; }
  void setDiffuseColor(ccColor4F color) override {
    diffuseColor_ = color;
    DrawRevision::bump();
  }
  ccColor4F specularColor() const override { return specularColor_; }
  void setSpecularColor(ccColor4F color) override {
    specularColor_ = color;
    DrawRevision::bump();
  }
  // Degrees; 180 means no spot cone.
  GLfloat spotCutoffAngle() const { return spotCutoffAngle_; }
  void setSpotCutoffAngle(GLfloat angle) {
    spotCutoffAngle_ = angle;
    DrawRevision::bump();
  }
  // True for a light infinitely far away in the direction of its location.
  bool isDirectionalOnly() const { return isDirectionalOnly_; }
  void setIsDirectionalOnly(bool directionalOnly);
  // The global location with w = 0 (directional) or 1 (positional).
  CC3Vec4 homogeneousLocation() const { return homogeneousLocation_; }

  // Once per draw pass, under the camera's view matrix: a visible light
  // enables its GL light and sends its location, direction and colours;
  // a hidden one disables it.
  void turnOn();

  bool isTransformRigid() const override;
  std::string fullDescription() override;
  void populateFrom(const CC3Identifiable* another) override;

  // MARK: the light index pool
  // Indices below the start are left to code outside the engine.
  static GLuint lightPoolStartIndex();
  static void setLightPoolStartIndex(GLuint index);
  // One entry per platform light, non-zero while taken.
  static const std::vector<GLubyte>& lightIndexPool();
  // The reserved indices plus the taken ones.
  static GLuint lightCount();
  static void disableReservedLights();
  // The first free index from the start; asserts when none is left.
  static GLuint nextLightIndex();
  // Frees the index and switches its GL light off.
  static void returnLightIndex(GLuint index);

 protected:
  CC3Identifiable* newInstance() const override { return new CC3Light(); }
  void applyTranslation() override;
  void applyScaling() override;

  void applyLocation();
  void applyDirection();
  void applyColor();

  Ptr<CC3OpenGLES11Light> gles11Light_;
  Ptr<CC3OpenGLES11StateTrackerServerCapability> gles11LightCap_;
  CC3Vec4 homogeneousLocation_ = kCC3Vec4Zero;
  ccColor4F ambientColor_{0, 0, 0, 1};
  ccColor4F diffuseColor_{1, 1, 1, 1};
  ccColor4F specularColor_{1, 1, 1, 1};
  GLfloat spotCutoffAngle_ = 180.0f;
  GLuint lightIndex_ = kNoLightIndex;
  bool isDirectionalOnly_ = true;
};
