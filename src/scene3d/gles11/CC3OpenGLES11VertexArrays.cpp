#include "CC3OpenGLES11VertexArrays.h"

#include "Assert.h"

void CC3OpenGLES11VertexArrays::initializeTrackers() {
  arrayBuffer_ = track<CC3OpenGLES11StateTrackerArrayBufferBinding>();
  indexBuffer_ = track<CC3OpenGLES11StateTrackerElementArrayBufferBinding>();
  locations_ = track<CC3OpenGLES11StateTrackerVertexLocationsPointer>();
  normals_ = track<CC3OpenGLES11StateTrackerVertexNormalsPointer>();
  colors_ = track<CC3OpenGLES11StateTrackerVertexColorsPointer>();
  textureCoordinates_ = track<CC3OpenGLES11StateTrackerVertexTexCoordsPointer>();
  pointSizes_ = track<CC3OpenGLES11StateTrackerVertexPointSizesPointer>();
}

CC3OpenGLES11StateTrackerArrayBufferBinding* CC3OpenGLES11VertexArrays::bufferBinding(
    GLenum target) const {
  if (target == GL_ELEMENT_ARRAY_BUFFER) return indexBuffer_.get();
  CCAssert(target == GL_ARRAY_BUFFER, "Unknown vertex buffer target");
  return arrayBuffer_.get();
}

GLuint CC3OpenGLES11VertexArrays::generateBuffer() {
  GLuint buffer = 0;
  CC3OpenGLES11Calls::set(glGenBuffers, 1, &buffer);
  return buffer;
}

void CC3OpenGLES11VertexArrays::deleteBuffer(GLuint buffer) {
  if (buffer == 0) return;
  CC3OpenGLES11Calls::set(glDeleteBuffers, 1, &buffer);
  arrayBuffer_->bufferWasDeleted(buffer);
  indexBuffer_->bufferWasDeleted(buffer);
}

void CC3OpenGLES11VertexArrays::clearErrors() {
  while (takeError()) {
  }
}

bool CC3OpenGLES11VertexArrays::takeError() {
  return CC3OpenGLES11Calls::query(glGetError) != GL_NO_ERROR;
}

void CC3OpenGLES11VertexArrays::drawVerticiesAs(GLenum drawMode, GLuint start, GLuint length) {
  CC3OpenGLES11Calls::set(glDrawArrays, drawMode, GLint(start), GLsizei(length));
}

void CC3OpenGLES11VertexArrays::drawIndicies(const GLvoid* indicies, GLuint length, GLenum type,
                                             GLenum drawMode) {
  CC3OpenGLES11Calls::set(glDrawElements, drawMode, GLsizei(length), type, indicies);
}
