#include "GLTestContext.h"

#include "GLExtensions.h"

GLTestContext::GLTestContext(int width, int height) : width_(width), height_(height) {
  context_ = EAGLContext::contextWithAPI(kEAGLRenderingAPIOpenGLES1);
  if (!context_ || !EAGLContext::setCurrentContext(context_.get()) || !hasFramebufferObjects())
    return;
  ccglGenFramebuffers(1, &framebuffer_);
  ccglBindFramebuffer(GL_FRAMEBUFFER_OES, framebuffer_);
  ccglGenRenderbuffers(1, &color_);
  ccglBindRenderbuffer(GL_RENDERBUFFER_OES, color_);
  ccglRenderbufferStorage(GL_RENDERBUFFER_OES, GL_RGBA8_OES, width, height);
  ccglFramebufferRenderbuffer(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_RENDERBUFFER_OES,
                              color_);
  ccglGenRenderbuffers(1, &depth_);
  ccglBindRenderbuffer(GL_RENDERBUFFER_OES, depth_);
  ccglRenderbufferStorage(GL_RENDERBUFFER_OES, GL_DEPTH_COMPONENT16_OES, width, height);
  ccglFramebufferRenderbuffer(GL_FRAMEBUFFER_OES, GL_DEPTH_ATTACHMENT_OES, GL_RENDERBUFFER_OES,
                              depth_);
  ccglBindRenderbuffer(GL_RENDERBUFFER_OES, color_);
  ok_ = ccglCheckFramebufferStatus(GL_FRAMEBUFFER_OES) == GL_FRAMEBUFFER_COMPLETE_OES;
  glViewport(0, 0, width, height);
}

GLTestContext::~GLTestContext() {
  if (!context_) return;
  EAGLContext::setCurrentContext(context_.get());
  if (framebuffer_) ccglDeleteFramebuffers(1, &framebuffer_);
  if (color_) ccglDeleteRenderbuffers(1, &color_);
  if (depth_) ccglDeleteRenderbuffers(1, &depth_);
  EAGLContext::setCurrentContext(nullptr);
}

std::array<unsigned char, 4> GLTestContext::pixel(int x, int y) const {
  std::array<unsigned char, 4> rgba{};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  return rgba;
}

std::vector<unsigned char> GLTestContext::readAll() const {
  std::vector<unsigned char> data(std::size_t(width_) * height_ * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, data.data());
  return data;
}
