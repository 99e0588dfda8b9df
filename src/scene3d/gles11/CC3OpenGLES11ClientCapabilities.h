#pragma once
#include <GLES/gl.h>
#include <GLES/glext.h>

#include "CC3OpenGLES11StateTrackerClientCapability.h"
#include "CC3OpenGLES11StateTrackerManager.h"

class CC3OpenGLES11ClientCapabilities : public CC3OpenGLES11StateTrackerManager {
 public:
  using Capability = CC3OpenGLES11StateTrackerClientCapability;

  Capability* colorArray() const { return colorArray_.get(); }
  Capability* normalArray() const { return normalArray_.get(); }
  Capability* pointSizeArrayOES() const { return pointSizeArrayOES_.get(); }
  Capability* textureCoordArray() const { return textureCoordArray_.get(); }
  Capability* vertexArray() const { return vertexArray_.get(); }

 protected:
  void initializeTrackers() override {
    colorArray_ = track<Capability>(GL_COLOR_ARRAY);
    normalArray_ = track<Capability>(GL_NORMAL_ARRAY);
    pointSizeArrayOES_ = track<Capability>(GL_POINT_SIZE_ARRAY_OES);
    textureCoordArray_ = track<Capability>(GL_TEXTURE_COORD_ARRAY);
    vertexArray_ = track<Capability>(GL_VERTEX_ARRAY);
  }

 private:
  Ptr<Capability> colorArray_, normalArray_, pointSizeArrayOES_, textureCoordArray_, vertexArray_;
};
