#pragma once
#include <GLES/gl.h>
#include <GLES/glext.h>

#include <functional>
#include <vector>

// GL ES 1.1 extension entry points (framebuffer objects, mipmaps, discard). Mesa does
// not export them, so they are resolved through EGL on first use; a missing
// entry point is a null pointer, which callers check with `hasFramebufferObjects`.
struct GLExtensionFunctions {
  PFNGLGENFRAMEBUFFERSOESPROC genFramebuffers = nullptr;
  PFNGLDELETEFRAMEBUFFERSOESPROC deleteFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFEROESPROC bindFramebuffer = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFEROESPROC framebufferRenderbuffer = nullptr;
  PFNGLFRAMEBUFFERTEXTURE2DOESPROC framebufferTexture2D = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSOESPROC checkFramebufferStatus = nullptr;
  PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVOESPROC getFramebufferAttachmentParameteriv = nullptr;
  PFNGLISFRAMEBUFFEROESPROC isFramebuffer = nullptr;
  PFNGLGENRENDERBUFFERSOESPROC genRenderbuffers = nullptr;
  PFNGLDELETERENDERBUFFERSOESPROC deleteRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFEROESPROC bindRenderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEOESPROC renderbufferStorage = nullptr;
  PFNGLGETRENDERBUFFERPARAMETERIVOESPROC getRenderbufferParameteriv = nullptr;
  PFNGLISRENDERBUFFEROESPROC isRenderbuffer = nullptr;
  PFNGLGENERATEMIPMAPOESPROC generateMipmap = nullptr;
  PFNGLDISCARDFRAMEBUFFEREXTPROC discardFramebuffer = nullptr;
};

const GLExtensionFunctions& glExtensions();
bool hasFramebufferObjects();

inline void ccglGenFramebuffers(GLsizei n, GLuint* ids) {
  glExtensions().genFramebuffers(n, ids);
}
inline void ccglDeleteFramebuffers(GLsizei n, const GLuint* ids) {
  glExtensions().deleteFramebuffers(n, ids);
}
inline void ccglBindFramebuffer(GLenum target, GLuint id) {
  glExtensions().bindFramebuffer(target, id);
}
inline void ccglFramebufferRenderbuffer(GLenum target, GLenum attachment, GLenum rbTarget,
                                        GLuint rb) {
  glExtensions().framebufferRenderbuffer(target, attachment, rbTarget, rb);
}
inline void ccglFramebufferTexture2D(GLenum target, GLenum attachment, GLenum texTarget,
                                     GLuint texture, GLint level) {
  glExtensions().framebufferTexture2D(target, attachment, texTarget, texture, level);
}
inline void ccglGetFramebufferAttachmentParameteriv(GLenum target, GLenum attachment, GLenum name,
                                                    GLint* value) {
  glExtensions().getFramebufferAttachmentParameteriv(target, attachment, name, value);
}
inline GLenum ccglCheckFramebufferStatus(GLenum target) {
  return glExtensions().checkFramebufferStatus(target);
}
inline void ccglGenRenderbuffers(GLsizei n, GLuint* ids) {
  glExtensions().genRenderbuffers(n, ids);
}
inline void ccglDeleteRenderbuffers(GLsizei n, const GLuint* ids) {
  glExtensions().deleteRenderbuffers(n, ids);
}
inline void ccglBindRenderbuffer(GLenum target, GLuint id) {
  glExtensions().bindRenderbuffer(target, id);
}
inline void ccglRenderbufferStorage(GLenum target, GLenum format, GLsizei w, GLsizei h) {
  glExtensions().renderbufferStorage(target, format, w, h);
}
inline void ccglGetRenderbufferParameteriv(GLenum target, GLenum name, GLint* value) {
  glExtensions().getRenderbufferParameteriv(target, name, value);
}
inline void ccglGenerateMipmap(GLenum target) {
  glExtensions().generateMipmap(target);
}

// Drops the contents of the bound framebuffer's `attachments`; nothing where
// the GL cannot.
void ccglDiscardFramebuffer(GLenum target, GLsizei count, const GLenum* attachments);
// Sees every discard asked for, whether or not the GL could do it (for tests).
using GLDiscardObserver =
    std::function<void(GLenum target, const std::vector<GLenum>& attachments)>;
void setGLDiscardObserver(GLDiscardObserver observer);
