#include "GLExtensions.h"

#include <EGL/egl.h>

#include <utility>

namespace {
template <class F>
void resolve(F& slot, const char* name) {
  slot = reinterpret_cast<F>(eglGetProcAddress(name));
}

GLExtensionFunctions load() {
  GLExtensionFunctions f;
  resolve(f.genFramebuffers, "glGenFramebuffersOES");
  resolve(f.deleteFramebuffers, "glDeleteFramebuffersOES");
  resolve(f.bindFramebuffer, "glBindFramebufferOES");
  resolve(f.framebufferRenderbuffer, "glFramebufferRenderbufferOES");
  resolve(f.framebufferTexture2D, "glFramebufferTexture2DOES");
  resolve(f.checkFramebufferStatus, "glCheckFramebufferStatusOES");
  resolve(f.getFramebufferAttachmentParameteriv, "glGetFramebufferAttachmentParameterivOES");
  resolve(f.isFramebuffer, "glIsFramebufferOES");
  resolve(f.genRenderbuffers, "glGenRenderbuffersOES");
  resolve(f.deleteRenderbuffers, "glDeleteRenderbuffersOES");
  resolve(f.bindRenderbuffer, "glBindRenderbufferOES");
  resolve(f.renderbufferStorage, "glRenderbufferStorageOES");
  resolve(f.getRenderbufferParameteriv, "glGetRenderbufferParameterivOES");
  resolve(f.isRenderbuffer, "glIsRenderbufferOES");
  resolve(f.generateMipmap, "glGenerateMipmapOES");
  resolve(f.discardFramebuffer, "glDiscardFramebufferEXT");
  return f;
}

GLDiscardObserver& discardObserver() {
  static GLDiscardObserver observer;
  return observer;
}
}  // namespace

const GLExtensionFunctions& glExtensions() {
  static const GLExtensionFunctions functions = load();
  return functions;
}

bool hasFramebufferObjects() {
  const auto& f = glExtensions();
  return f.genFramebuffers && f.bindFramebuffer && f.genRenderbuffers && f.renderbufferStorage &&
         f.framebufferRenderbuffer && f.checkFramebufferStatus;
}

void ccglDiscardFramebuffer(GLenum target, GLsizei count, const GLenum* attachments) {
  if (discardObserver()) discardObserver()(target, {attachments, attachments + count});
  if (glExtensions().discardFramebuffer)
    glExtensions().discardFramebuffer(target, count, attachments);
}

void setGLDiscardObserver(GLDiscardObserver observer) {
  discardObserver() = std::move(observer);
}
