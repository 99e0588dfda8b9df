#include "ES1Renderer.h"

#include <GLES/glext.h>

#include <algorithm>
#include <cstdio>

#include "Assert.h"
#include "CAEAGLLayer.h"
#include "CCConfiguration.h"
#include "GLExtensions.h"
#include "GLMultisample.h"
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
  if (multiSampling_ && !resizeMultisampleColor()) return false;
  if (depthFormat_) resizeDepth();
  ccglBindFramebuffer(GL_FRAMEBUFFER_OES, defaultFramebuffer_);
  if (ccglCheckFramebufferStatus(GL_FRAMEBUFFER_OES) != GL_FRAMEBUFFER_COMPLETE_OES) {
    CCLOGERROR("failed to make complete framebuffer object 0x%X",
               ccglCheckFramebufferStatus(GL_FRAMEBUFFER_OES));
    return false;
  }
  CHECK_GL_ERROR_IN("resizeFromLayer");
  bindDrawingFramebuffer();
  return true;
}

bool ES1Renderer::resizeMultisampleColor() {
  ccglBindFramebuffer(GL_FRAMEBUFFER_OES, msaaFramebuffer_);
  if (!msaaColorbuffer_) ccglGenRenderbuffers(1, &msaaColorbuffer_);
  ccglBindRenderbuffer(GL_RENDERBUFFER_OES, msaaColorbuffer_);
  ccglRenderbufferStorageMultisample(GL_RENDERBUFFER_OES, samplesToUse_, pixelFormat_,
                                     backingWidth_, backingHeight_);
  ccglFramebufferRenderbuffer(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_RENDERBUFFER_OES,
                              msaaColorbuffer_);
  const GLenum status = ccglCheckFramebufferStatus(GL_FRAMEBUFFER_OES);
  if (status != GL_FRAMEBUFFER_COMPLETE_OES) {
    CCLOGERROR("failed to make complete multisample framebuffer object 0x%X", status);
    return false;
  }
  return true;
}

void ES1Renderer::resizeDepth() {
  if (!depthBuffer_) ccglGenRenderbuffers(1, &depthBuffer_);
  ccglBindRenderbuffer(GL_RENDERBUFFER_OES, depthBuffer_);
  if (multiSampling_)
    ccglRenderbufferStorageMultisample(GL_RENDERBUFFER_OES, samplesToUse_, depthFormat_,
                                       backingWidth_, backingHeight_);
  else
    ccglRenderbufferStorage(GL_RENDERBUFFER_OES, depthFormat_, backingWidth_, backingHeight_);
  bindDrawingFramebuffer();
  ccglFramebufferRenderbuffer(GL_FRAMEBUFFER_OES, GL_DEPTH_ATTACHMENT_OES, GL_RENDERBUFFER_OES,
                              depthBuffer_);
  ccglBindRenderbuffer(GL_RENDERBUFFER_OES, colorRenderbuffer_);
}

void ES1Renderer::bindDrawingFramebuffer() {
  ccglBindFramebuffer(GL_FRAMEBUFFER_OES, multiSampling_ ? msaaFramebuffer_ : defaultFramebuffer_);
}

void ES1Renderer::resolveMultisampling() {
  if (multiSampling_) ccglResolveMultisampleFramebuffer(msaaFramebuffer_, defaultFramebuffer_);
}

void ES1Renderer::discardBeforePresent() {
  if (multiSampling_) {
    // The samples are resolved: none of the multisample framebuffer is needed again.
    const GLenum attachments[] = {GL_COLOR_ATTACHMENT0_OES, GL_DEPTH_ATTACHMENT_OES};
    ccglBindFramebuffer(GL_FRAMEBUFFER_OES, msaaFramebuffer_);
    ccglDiscardFramebuffer(GL_FRAMEBUFFER_OES, depthFormat_ ? 2 : 1, attachments);
    ccglBindFramebuffer(GL_FRAMEBUFFER_OES, defaultFramebuffer_);
    ccglBindRenderbuffer(GL_RENDERBUFFER_OES, colorRenderbuffer_);
  } else if (depthFormat_) {
    const GLenum attachments[] = {GL_DEPTH_ATTACHMENT_OES};
    ccglDiscardFramebuffer(GL_FRAMEBUFFER_OES, 1, attachments);
  }
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
  if (multiSampling_) ccglReleaseMultisampling();
  EAGLContext::setCurrentContext(previous == context_.get() ? nullptr : previous);
}
