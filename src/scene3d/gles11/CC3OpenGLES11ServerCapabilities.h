#pragma once
#include <vector>

#include "CC3OpenGLES11StateTrackerManager.h"
#include "CC3OpenGLES11StateTrackerServerCapability.h"

class CC3OpenGLES11Platform;

class CC3OpenGLES11ServerCapabilities : public CC3OpenGLES11StateTrackerManager {
 public:
  using Capability = CC3OpenGLES11StateTrackerServerCapability;

  // Clip planes and lights come in the numbers the platform reports.
  explicit CC3OpenGLES11ServerCapabilities(CC3OpenGLES11Platform* platform) : platform_(platform) {}

  Capability* alphaTest() const { return alphaTest_.get(); }
  Capability* blend() const { return blend_.get(); }
  Capability* clipPlaneAt(GLuint index) const;
  GLuint clipPlaneCount() const { return GLuint(clipPlanes_.size()); }
  Capability* colorLogicOp() const { return colorLogicOp_.get(); }
  Capability* colorMaterial() const { return colorMaterial_.get(); }
  Capability* cullFace() const { return cullFace_.get(); }
  Capability* depthTest() const { return depthTest_.get(); }
  Capability* dither() const { return dither_.get(); }
  Capability* fog() const { return fog_.get(); }
  Capability* lighting() const { return lighting_.get(); }
  Capability* lightAt(GLuint index) const;
  GLuint lightCount() const { return GLuint(lights_.size()); }
  Capability* lineSmooth() const { return lineSmooth_.get(); }
  Capability* multisample() const { return multisample_.get(); }
  Capability* normalize() const { return normalize_.get(); }
  Capability* pointSmooth() const { return pointSmooth_.get(); }
  Capability* pointSpriteOES() const { return pointSpriteOES_.get(); }
  Capability* polygonOffsetFill() const { return polygonOffsetFill_.get(); }
  Capability* rescaleNormal() const { return rescaleNormal_.get(); }
  Capability* sampleAlphaToCoverage() const { return sampleAlphaToCoverage_.get(); }
  Capability* sampleAlphaToOne() const { return sampleAlphaToOne_.get(); }
  Capability* sampleCoverage() const { return sampleCoverage_.get(); }
  Capability* scissorTest() const { return scissorTest_.get(); }
  Capability* stencilTest() const { return stencilTest_.get(); }
  Capability* texture2D() const { return texture2D_.get(); }

 protected:
  void initializeTrackers() override;

 private:
  CC3OpenGLES11Platform* platform_;  // not retained: the engine owns both
  Ptr<Capability> alphaTest_, blend_, colorLogicOp_, colorMaterial_, cullFace_, depthTest_, dither_,
      fog_, lighting_, lineSmooth_, multisample_, normalize_, pointSmooth_, pointSpriteOES_,
      polygonOffsetFill_, rescaleNormal_, sampleAlphaToCoverage_, sampleAlphaToOne_,
      sampleCoverage_, scissorTest_, stencilTest_, texture2D_;
  std::vector<Ptr<Capability>> clipPlanes_, lights_;
};
