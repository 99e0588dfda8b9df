#include "CC3OpenGLES11State.h"

namespace {
constexpr auto kOnceAndRestore = kCC3GLESStateOriginalValueReadOnceAndRestore;
}

void CC3OpenGLES11State::initializeTrackers() {
  color_ = track<CC3OpenGLES11StateTrackerColorFixedAndFloat>(GL_CURRENT_COLOR, glColor4f,
                                                              glColor4ub, kOnceAndRestore);
  clearColor_ =
      track<CC3OpenGLES11StateTrackerColor>(GL_COLOR_CLEAR_VALUE, glClearColor, kOnceAndRestore);
  clearDepth_ =
      track<CC3OpenGLES11StateTrackerFloat>(GL_DEPTH_CLEAR_VALUE, glClearDepthf, kOnceAndRestore);
  clearStencil_ = track<CC3OpenGLES11StateTrackerInteger>(GL_STENCIL_CLEAR_VALUE, glClearStencil,
                                                          kOnceAndRestore);
  cullFace_ =
      track<CC3OpenGLES11StateTrackerEnumeration>(GL_CULL_FACE_MODE, glCullFace, kOnceAndRestore);
  depthFunction_ =
      track<CC3OpenGLES11StateTrackerEnumeration>(GL_DEPTH_FUNC, glDepthFunc, kOnceAndRestore);
  depthMask_ =
      track<CC3OpenGLES11StateTrackerBoolean>(GL_DEPTH_WRITEMASK, glDepthMask, kOnceAndRestore);
  frontFace_ =
      track<CC3OpenGLES11StateTrackerEnumeration>(GL_FRONT_FACE, glFrontFace, kOnceAndRestore);
  lineWidth_ = track<CC3OpenGLES11StateTrackerFloat>(GL_LINE_WIDTH, glLineWidth);
  scissor_ = track<CC3OpenGLES11StateTrackerViewport>(GL_SCISSOR_BOX, glScissor);
  shadeModel_ =
      track<CC3OpenGLES11StateTrackerEnumeration>(GL_SHADE_MODEL, glShadeModel, kOnceAndRestore);
  viewport_ = track<CC3OpenGLES11StateTrackerViewport>(GL_VIEWPORT, glViewport, kOnceAndRestore);
}

void CC3OpenGLES11State::clearColorBuffer() {
  clearBuffers(GL_COLOR_BUFFER_BIT);
}
void CC3OpenGLES11State::clearDepthBuffer() {
  clearBuffers(GL_DEPTH_BUFFER_BIT);
}
void CC3OpenGLES11State::clearStencilBuffer() {
  clearBuffers(GL_STENCIL_BUFFER_BIT);
}

void CC3OpenGLES11State::clearBuffers(GLbitfield mask) {
  CC3OpenGLES11Calls::set(glClear, mask);
}

ccColor4B CC3OpenGLES11State::readPixelAt(CGPoint position) {
  GLubyte pixel[4] = {};
  CC3OpenGLES11Calls::query(glReadPixels, GLint(position.x), GLint(position.y), 1, 1, GL_RGBA,
                            GL_UNSIGNED_BYTE, pixel);
  return {pixel[0], pixel[1], pixel[2], pixel[3]};
}
