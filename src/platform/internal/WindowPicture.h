#pragma once
// Platform-internal: the GL view's colour buffer when it is shown in a window.
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GLES/gl.h>

// The colour renderbuffer's storage is a texture's, shared through an EGL
// image, so the window's presenter draws the frame from that texture as it
// stands: no copy of the frame is made on its way to the window.
class WindowPicture {
 public:
  WindowPicture() = default;
  ~WindowPicture();
  WindowPicture(const WindowPicture&) = delete;
  WindowPicture& operator=(const WindowPicture&) = delete;

  // In `drawing`, current, with the renderbuffer to give storage bound; false
  // (nothing kept) where EGL or GL cannot share a texture's storage.
  bool giveStorage(EGLContext drawing, GLenum format, int width, int height);
  GLuint texture() const { return texture_; }
  // Lets the texture and the image go; `drawing` must be current.
  void release();

 private:
  bool makeTexture(GLenum format, int width, int height);
  GLuint texture_ = 0;
  EGLImageKHR image_ = EGL_NO_IMAGE_KHR;
};
