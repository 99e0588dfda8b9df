#include "WindowPicture.h"

#include <GLES/glext.h>

#include <cstdint>
#include <string>

#include "GLDisplay.h"

namespace {
struct ImageFunctions {
  PFNEGLCREATEIMAGEKHRPROC create = nullptr;
  PFNEGLDESTROYIMAGEKHRPROC destroy = nullptr;
  PFNGLEGLIMAGETARGETRENDERBUFFERSTORAGEOESPROC renderbufferStorage = nullptr;
  bool usable() const { return create && destroy && renderbufferStorage; }
};

const ImageFunctions& imageFunctions() {
  static const ImageFunctions functions = [] {
    ImageFunctions f;
    f.create = reinterpret_cast<PFNEGLCREATEIMAGEKHRPROC>(eglGetProcAddress("eglCreateImageKHR"));
    f.destroy =
        reinterpret_cast<PFNEGLDESTROYIMAGEKHRPROC>(eglGetProcAddress("eglDestroyImageKHR"));
    f.renderbufferStorage = reinterpret_cast<PFNGLEGLIMAGETARGETRENDERBUFFERSTORAGEOESPROC>(
        eglGetProcAddress("glEGLImageTargetRenderbufferStorageOES"));
    return f;
  }();
  return functions;
}

bool displayOffersTextureImages() {
  const char* extensions = eglQueryString(GLDisplay::display(), EGL_EXTENSIONS);
  return extensions &&
         std::string(extensions).find("EGL_KHR_gl_texture_2D_image") != std::string::npos;
}
}  // namespace

WindowPicture::~WindowPicture() {
  // The context that made them is gone or going: the image at least is the display's.
  if (image_ != EGL_NO_IMAGE_KHR) imageFunctions().destroy(GLDisplay::display(), image_);
}

bool WindowPicture::giveStorage(EGLContext drawing, GLenum format, int width, int height) {
  release();
  const ImageFunctions& f = imageFunctions();
  if (!f.usable() || !displayOffersTextureImages()) return false;
  if (!makeTexture(format, width, height)) return false;
  const EGLint attributes[] = {EGL_GL_TEXTURE_LEVEL_KHR, 0, EGL_NONE};
  image_ = f.create(GLDisplay::display(), drawing, EGL_GL_TEXTURE_2D_KHR,
                    reinterpret_cast<EGLClientBuffer>(static_cast<std::uintptr_t>(texture_)),
                    attributes);
  if (image_ != EGL_NO_IMAGE_KHR) {
    f.renderbufferStorage(GL_RENDERBUFFER_OES, image_);
    if (glGetError() == GL_NO_ERROR) return true;
  }
  release();
  return false;
}

bool WindowPicture::makeTexture(GLenum format, int width, int height) {
  // The engine's own texture bindings are left as they were.
  GLint activeTexture = GL_TEXTURE0, boundTexture = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &activeTexture);
  glActiveTexture(GL_TEXTURE0);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
  glGenTextures(1, &texture_);
  glBindTexture(GL_TEXTURE_2D, texture_);
  if (format == GL_RGB565_OES)
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_SHORT_5_6_5,
                 nullptr);
  else
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));
  glActiveTexture(static_cast<GLenum>(activeTexture));
  return glGetError() == GL_NO_ERROR;
}

void WindowPicture::release() {
  if (image_ != EGL_NO_IMAGE_KHR) imageFunctions().destroy(GLDisplay::display(), image_);
  image_ = EGL_NO_IMAGE_KHR;
  if (texture_) glDeleteTextures(1, &texture_);
  texture_ = 0;
}
