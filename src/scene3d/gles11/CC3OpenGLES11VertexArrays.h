#pragma once
#include "CC3OpenGLES11StateTrackerArrayBufferBinding.h"
#include "CC3OpenGLES11StateTrackerElementArrayBufferBinding.h"
#include "CC3OpenGLES11StateTrackerManager.h"
#include "CC3OpenGLES11StateTrackerVertexColorsPointer.h"
#include "CC3OpenGLES11StateTrackerVertexLocationsPointer.h"
#include "CC3OpenGLES11StateTrackerVertexNormalsPointer.h"
#include "CC3OpenGLES11StateTrackerVertexPointSizesPointer.h"
#include "CC3OpenGLES11StateTrackerVertexTexCoordsPointer.h"

class CC3OpenGLES11VertexArrays : public CC3OpenGLES11StateTrackerManager {
 public:
  CC3OpenGLES11StateTrackerArrayBufferBinding* arrayBuffer() const { return arrayBuffer_.get(); }
  CC3OpenGLES11StateTrackerElementArrayBufferBinding* indexBuffer() const {
    return indexBuffer_.get();
  }
  CC3OpenGLES11StateTrackerVertexLocationsPointer* locations() const { return locations_.get(); }
  CC3OpenGLES11StateTrackerVertexNormalsPointer* normals() const { return normals_.get(); }
  CC3OpenGLES11StateTrackerVertexColorsPointer* colors() const { return colors_.get(); }
  CC3OpenGLES11StateTrackerVertexTexCoordsPointer* textureCoordinates() const {
    return textureCoordinates_.get();
  }
  CC3OpenGLES11StateTrackerVertexPointSizesPointer* pointSizes() const { return pointSizes_.get(); }

  // The binding tracker of GL_ARRAY_BUFFER or GL_ELEMENT_ARRAY_BUFFER.
  CC3OpenGLES11StateTrackerArrayBufferBinding* bufferBinding(GLenum target) const;
  GLuint generateBuffer();
  void deleteBuffer(GLuint buffer);
  // GL reports a failed upload only through its error flags: drop the errors
  // earlier calls left, make the upload, then ask whether anything failed.
  void clearErrors();
  bool takeError();
  void drawVerticiesAs(GLenum drawMode, GLuint start, GLuint length);
  void drawIndicies(const GLvoid* indicies, GLuint length, GLenum type, GLenum drawMode);

 protected:
  void initializeTrackers() override;

 private:
  Ptr<CC3OpenGLES11StateTrackerArrayBufferBinding> arrayBuffer_;
  Ptr<CC3OpenGLES11StateTrackerElementArrayBufferBinding> indexBuffer_;
  Ptr<CC3OpenGLES11StateTrackerVertexLocationsPointer> locations_;
  Ptr<CC3OpenGLES11StateTrackerVertexNormalsPointer> normals_;
  Ptr<CC3OpenGLES11StateTrackerVertexColorsPointer> colors_;
  Ptr<CC3OpenGLES11StateTrackerVertexTexCoordsPointer> textureCoordinates_;
  Ptr<CC3OpenGLES11StateTrackerVertexPointSizesPointer> pointSizes_;
};
