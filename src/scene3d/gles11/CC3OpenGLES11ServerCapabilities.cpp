#include "CC3OpenGLES11ServerCapabilities.h"

#include <GLES/glext.h>

#include "Assert.h"
#include "CC3OpenGLES11Platform.h"

void CC3OpenGLES11ServerCapabilities::initializeTrackers() {
  alphaTest_ = track<Capability>(GL_ALPHA_TEST);
  blend_ = track<Capability>(GL_BLEND);
  GLint planes = platform_ ? platform_->maxClipPlanes()->value() : 0;
  for (GLint i = 0; i < planes; ++i) clipPlanes_.push_back(track<Capability>(GL_CLIP_PLANE0 + i));
  colorLogicOp_ = track<Capability>(GL_COLOR_LOGIC_OP);
  colorMaterial_ = track<Capability>(GL_COLOR_MATERIAL);
  cullFace_ = track<Capability>(GL_CULL_FACE);
  depthTest_ = track<Capability>(GL_DEPTH_TEST);
  dither_ = track<Capability>(GL_DITHER);
  fog_ = track<Capability>(GL_FOG);
  lighting_ = track<Capability>(GL_LIGHTING);
  GLint lights = platform_ ? platform_->maxLights()->value() : 0;
  for (GLint i = 0; i < lights; ++i) lights_.push_back(track<Capability>(GL_LIGHT0 + i));
  lineSmooth_ = track<Capability>(GL_LINE_SMOOTH);
  multisample_ = track<Capability>(GL_MULTISAMPLE);
  normalize_ = track<Capability>(GL_NORMALIZE);
  pointSmooth_ = track<Capability>(GL_POINT_SMOOTH);
  pointSpriteOES_ = track<Capability>(GL_POINT_SPRITE_OES, kCC3GLESStateOriginalValueIgnore);
  polygonOffsetFill_ = track<Capability>(GL_POLYGON_OFFSET_FILL);
  rescaleNormal_ = track<Capability>(GL_RESCALE_NORMAL);
  sampleAlphaToCoverage_ = track<Capability>(GL_SAMPLE_ALPHA_TO_COVERAGE);
  sampleAlphaToOne_ = track<Capability>(GL_SAMPLE_ALPHA_TO_ONE);
  sampleCoverage_ = track<Capability>(GL_SAMPLE_COVERAGE);
  scissorTest_ = track<Capability>(GL_SCISSOR_TEST);
  stencilTest_ = track<Capability>(GL_STENCIL_TEST);
  texture2D_ = track<Capability>(GL_TEXTURE_2D);
}

CC3OpenGLES11StateTrackerServerCapability* CC3OpenGLES11ServerCapabilities::clipPlaneAt(
    GLuint index) const {
  CCAssert(index < clipPlanes_.size(), "Clip plane index is beyond the platform's clip planes");
  return clipPlanes_[index].get();
}

CC3OpenGLES11StateTrackerServerCapability* CC3OpenGLES11ServerCapabilities::lightAt(
    GLuint index) const {
  CCAssert(index < lights_.size(), "Light index is beyond the platform's lights");
  return lights_[index].get();
}
