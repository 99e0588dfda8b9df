#include "ES1Renderer.h"

#include <GLES/glext.h>

#include <algorithm>
#include <cstdio>

#include "Assert.h"
#include "CAEAGLLayer.h"
#include "CCConfiguration.h"
#include "GLExtensions.h"
#include "Log.h"

void CHECK_GL_ERROR_IN(const char* operation) {
  GLenum error = glGetError();
  if (error != GL_NO_ERROR) std::fprintf(stderr, "OpenGL error 0x%04X in %s\n", error, operation);
}

Ptr<ES1Renderer> ES1Renderer::rendererWithDepthFormat(GLuint depthFormat, GLenum pixelFormat,
                                                      EAGLSharegroup* sharegroup,
                                                      bool multiSampling, unsigned samples) {
  auto renderer = Ptr<ES1Renderer>::adopt(new ES1Renderer());
  if (!renderer->init(depthFormat, pixelFormat, sharegroup, multiSampling, samples)) return nullptr;
  return renderer;
}

bool ES1Renderer::init(GLuint depthFormat, GLenum pixelFormat, EAGLSharegroup* sharegroup,
                       bool multiSampling, unsigned samples) {
  context_ = EAGLContext::contextWithAPI(kEAGLRenderingAPIOpenGLES1, sharegroup);
  if (!context_ || !EAGLContext::setCurrentContext(context_.get())) return false;
  if (!hasFramebufferObjects()) {
    logWarningOnce("fbo", "the GL has no framebuffer objects");
    return false;
  }
  depthFormat_ = depthFormat;
  pixelFormat_ = pixelFormat;
  ccglGenFramebuffers(1, &defaultFramebuffer_);
  CCAssert(defaultFramebuffer_ != 0, "Can't create default frame buffer");
  ccglGenRenderbuffers(1, &colorRenderbuffer_);
  CCAssert(colorRenderbuffer_ != 0, "Can't create default render buffer");
  ccglBindFramebuffer(GL_FRAMEBUFFER_OES, defaultFramebuffer_);
  ccglBindRenderbuffer(GL_RENDERBUFFER_OES, colorRenderbuffer_);
  ccglFramebufferRenderbuffer(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_RENDERBUFFER_OES,
                              colorRenderbuffer_);
  if (multiSampling) {
    GLint maxSamples = CCConfiguration::sharedConfiguration()->maxSamplesAllowed();
    samplesToUse_ = std::min(maxSamples, GLint(samples));
    // Where the GL offers no multisampling, drawing goes straight to the default buffer.
    multiSampling_ = samplesToUse_ > 0;
    if (!multiSampling_) logWarningOnce("msaa", "the GL offers no multisampling; drawing without");
    if (multiSampling_) {
      ccglGenFramebuffers(1, &msaaFramebuffer_);
      ccglBindFramebuffer(GL_FRAMEBUFFER_OES, msaaFramebuffer_);
    }
  }
  CHECK_GL_ERROR_IN("ES1Renderer init");
  return true;
}

bool ES1Renderer::resizeFromLayer(CAEAGLLayer* layer) {
  ccglBindRenderbuffer(GL_RENDERBUFFER_OES, colorRenderbuffer_);
  if (!context_->renderbufferStorage(GL_RENDERBUFFER_OES, layer)) {
    CCLOGERROR("failed to give the colour renderbuffer storage from the layer");
  }
  ccglGetRenderbufferParameteriv(GL_RENDERBUFFER_OES, GL_RENDERBUFFER_WIDTH_OES, &backingWidth_);
  ccglGetRenderbufferParameteriv(GL_RENDERBUFFER_OES, GL_RENDERBUFFER_HEIGHT_OES, &backingHeight_);
  if (depthFormat_) {
    if (!depthBuffer_) ccglGenRenderbuffers(1, &depthBuffer_);
    ccglBindRenderbuffer(GL_RENDERBUFFER_OES, depthBuffer_);
    ccglRenderbufferStorage(GL_RENDERBUFFER_OES, depthFormat_, backingWidth_, backingHeight_);
    ccglBindFramebuffer(GL_FRAMEBUFFER_OES, defaultFramebuffer_);
    ccglFramebufferRenderbuffer(GL_FRAMEBUFFER_OES, GL_DEPTH_ATTACHMENT_OES, GL_RENDERBUFFER_OES,
                                depthBuffer_);
    ccglBindRenderbuffer(GL_RENDERBUFFER_OES, colorRenderbuffer_);
  }
  ccglBindFramebuffer(GL_FRAMEBUFFER_OES, defaultFramebuffer_);
  if (ccglCheckFramebufferStatus(GL_FRAMEBUFFER_OES) != GL_FRAMEBUFFER_COMPLETE_OES) {
    CCLOGERROR("failed to make complete framebuffer object 0x%X",
               ccglCheckFramebufferStatus(GL_FRAMEBUFFER_OES));
    return false;
  }
  CHECK_GL_ERROR_IN("resizeFromLayer");
  return true;
}

ES1Renderer::~ES1Renderer() {
  if (!context_) return;
  EAGLContext* previous = EAGLContext::currentContext();
  Ptr<EAGLContext> keep(previous);
  EAGLContext::setCurrentContext(context_.get());
  if (defaultFramebuffer_) ccglDeleteFramebuffers(1, &defaultFramebuffer_);
  if (colorRenderbuffer_) ccglDeleteRenderbuffers(1, &colorRenderbuffer_);
  if (depthBuffer_) ccglDeleteRenderbuffers(1, &depthBuffer_);
  if (msaaColorbuffer_) ccglDeleteRenderbuffers(1, &msaaColorbuffer_);
  if (msaaFramebuffer_) ccglDeleteFramebuffers(1, &msaaFramebuffer_);
  EAGLContext::setCurrentContext(previous == context_.get() ? nullptr : previous);
}
