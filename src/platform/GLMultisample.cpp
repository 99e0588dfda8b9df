#include "GLMultisample.h"

#include "GLExtensions.h"
#include "Log.h"
#include "MultisampleContext.h"

namespace {
GLuint colourAttachmentOf(GLuint framebuffer) {
  ccglBindFramebuffer(GL_FRAMEBUFFER_OES, framebuffer);
  GLint name = 0;
  ccglGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME_OES, &name);
  return static_cast<GLuint>(name);
}

MultisampleContext* current() {
  return MultisampleContext::forDrawing(eglGetCurrentContext());
}
}  // namespace

GLint ccglMaxSamples() {
  return MultisampleContext::maxSamples();
}

void ccglRenderbufferStorageMultisample(GLenum target, GLsizei samples, GLenum format,
                                        GLsizei width, GLsizei height) {
  GLint renderbuffer = 0;
  glGetIntegerv(GL_RENDERBUFFER_BINDING_OES, &renderbuffer);
  MultisampleContext* multisample = current();
  if (!multisample || renderbuffer == 0) {
    // Single-sampled storage keeps the framebuffer usable.
    logWarningOnce("msaa-none", "no multisample storage; the renderbuffer gets one sample");
    ccglRenderbufferStorage(target, format, width, height);
    return;
  }
  multisample->allocate(static_cast<GLuint>(renderbuffer), samples, format, width, height);
}

void ccglResolveMultisampleFramebuffer(GLuint readFramebuffer, GLuint drawFramebuffer) {
  const GLuint from = colourAttachmentOf(readFramebuffer);
  const GLuint to = colourAttachmentOf(drawFramebuffer);
  MultisampleContext* multisample = current();
  if (multisample && from && to) multisample->resolve(from, to);
}

void ccglReleaseMultisampling() {
  MultisampleContext::release(eglGetCurrentContext());
}
