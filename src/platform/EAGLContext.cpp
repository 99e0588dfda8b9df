#include "EAGLContext.h"

#include "CAEAGLLayer.h"
#include "DisplayGeometry.h"
#include "GLDisplay.h"
#include "GLExtensions.h"
#include "Log.h"
#include "UIDevice.h"
#include "ViewCompositor.h"
#include "WindowPicture.h"

namespace {
thread_local EAGLContext* tCurrent = nullptr;

GLuint gPresentTexture = 0;  // in the share group of the presenting context
int gPresentTextureSize = 0;

int nextPowerOfTwo(int v) {
  int p = 1;
  while (p < v) p <<= 1;
  return p;
}

}  // namespace

EAGLSharegroup::EAGLSharegroup() = default;
EAGLSharegroup::~EAGLSharegroup() = default;

Ptr<EAGLContext> EAGLContext::contextWithAPI(int api, EAGLSharegroup* sharegroup) {
  if (api != kEAGLRenderingAPIOpenGLES1) return nullptr;
  auto context = Ptr<EAGLContext>::adopt(new EAGLContext());
  if (!context->init(sharegroup)) return nullptr;
  return context;
}

bool EAGLContext::init(EAGLSharegroup* sharegroup) {
  std::string error;
  if (!GLDisplay::isOpen() && !GLDisplay::openHeadless(error)) {
    logWarningOnce("egl", "no GL: " + error);
    return false;
  }
  sharegroup_ = sharegroup ? Ptr<EAGLSharegroup>(sharegroup) : makeObject<EAGLSharegroup>();
  const EGLint attributes[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
  EGLContext share = static_cast<EGLContext>(sharegroup_->shareContext_);
  context_ = eglCreateContext(GLDisplay::display(), GLDisplay::config(),
                              share ? share : EGL_NO_CONTEXT, attributes);
  if (context_ == EGL_NO_CONTEXT) {
    logWarningOnce("egl-context", "cannot create a GL ES 1.1 context");
    context_ = nullptr;
    return false;
  }
  if (!sharegroup_->shareContext_) sharegroup_->shareContext_ = context_;
  return true;
}

EAGLContext::EAGLContext() = default;

EAGLContext::~EAGLContext() {
  if (tCurrent == this) tCurrent = nullptr;
  if (windowPicture_ && context_ && GLDisplay::makeCurrent(static_cast<EGLContext>(context_)))
    windowPicture_->release();
  if (context_) {
    if (eglGetCurrentContext() == context_) GLDisplay::makeCurrent(EGL_NO_CONTEXT);
    eglDestroyContext(GLDisplay::display(), static_cast<EGLContext>(context_));
  }
}

bool EAGLContext::setCurrentContext(EAGLContext* context) {
  if (!GLDisplay::isOpen()) return context == nullptr;
  if (!GLDisplay::makeCurrent(context ? static_cast<EGLContext>(context->context_)
                                      : EGL_NO_CONTEXT))
    return false;
  if (context) context->retain();
  if (tCurrent) tCurrent->release();
  tCurrent = context;
  return true;
}

EAGLContext* EAGLContext::currentContext() {
  return tCurrent;
}

bool EAGLContext::renderbufferStorage(GLenum target, CAEAGLLayer* drawable) {
  if (!drawable || !hasFramebufferObjects()) return false;
  CGRect bounds = drawable->bounds();
  int w = int(bounds.size.width * drawable->contentsScale());
  int h = int(bounds.size.height * drawable->contentsScale());
  if (w <= 0 || h <= 0) return false;
  GLenum format = drawable->colorFormat() == kEAGLColorFormatRGB565 ? GL_RGB565_OES : GL_RGBA8_OES;
  if (!GLDisplay::isHeadless() && !windowPicture_)
    windowPicture_ = std::make_unique<WindowPicture>();
  // Where a texture's storage cannot be shared, the frame is copied at present.
  if (!windowPicture_ ||
      !windowPicture_->giveStorage(static_cast<EGLContext>(context_), format, w, h))
    ccglRenderbufferStorage(target, format, w, h);
  GLint renderbuffer = 0;
  glGetIntegerv(GL_RENDERBUFFER_BINDING_OES, &renderbuffer);
  colorRenderbuffer_ = static_cast<GLuint>(renderbuffer);
  drawable_ = drawable;
  drawableWidth_ = w;
  drawableHeight_ = h;
  return glGetError() == GL_NO_ERROR;
}

bool EAGLContext::presentRenderbuffer(GLenum) {
  GLint framebuffer = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING_OES, &framebuffer);
  presentedFramebuffer_ = static_cast<GLuint>(framebuffer);
  ++presentedFrames_;
  // The window's views are part of the picture, on screen and in snapshots alike.
  ViewCompositor::shared().compositeOnto({drawable_, colorRenderbuffer_, drawableWidth_,
                                          drawableHeight_, static_cast<EGLContext>(context_),
                                          static_cast<EGLContext>(sharegroup_->shareContext_)});
  // Headless, a presented frame is a finished frame, as a display would show it.
  if (GLDisplay::isHeadless()) {
    glFinish();
    return true;
  }
  if (!windowPicture_ || !windowPicture_->texture()) return presentCopy();
  // The presenter reads the frame's own storage: it must be whole first.
  glFinish();
  bool ok = GLDisplay::presentTexture(static_cast<EGLContext>(sharegroup_->shareContext_),
                                      windowPicture_->texture(), drawableWidth_, drawableHeight_,
                                      drawableWidth_, drawableHeight_,
                                      UIDevice::currentDevice().heldOrientation());
  GLDisplay::makeCurrent(static_cast<EGLContext>(context_));
  return ok;
}

bool EAGLContext::presentCopy() {
  // Copy the frame into a texture shared with the presenter, which draws it
  // into the window; this context's own state is left as it was.
  GLint boundTexture = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
  GLint activeTexture = GL_TEXTURE0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &activeTexture);
  glActiveTexture(GL_TEXTURE0);
  int size = nextPowerOfTwo(std::max(drawableWidth_, drawableHeight_));
  if (!gPresentTexture || gPresentTextureSize != size) {
    if (!gPresentTexture) glGenTextures(1, &gPresentTexture);
    glBindTexture(GL_TEXTURE_2D, gPresentTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gPresentTextureSize = size;
  }
  glBindTexture(GL_TEXTURE_2D, gPresentTexture);
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, drawableWidth_, drawableHeight_);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));
  glActiveTexture(static_cast<GLenum>(activeTexture));
  glFlush();
  bool ok = GLDisplay::presentTexture(static_cast<EGLContext>(sharegroup_->shareContext_),
                                      gPresentTexture, drawableWidth_, drawableHeight_, size, size,
                                      UIDevice::currentDevice().heldOrientation());
  GLDisplay::makeCurrent(static_cast<EGLContext>(context_));
  return ok;
}

std::vector<unsigned char> EAGLContext::snapshotPresentedFrame(int& width, int& height) {
  width = height = 0;
  if (presentedFrames_ == 0 || drawableWidth_ <= 0) return {};
  EAGLContext* previous = tCurrent;
  Ptr<EAGLContext> keepPrevious(previous);
  setCurrentContext(this);
  GLint bound = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING_OES, &bound);
  ccglBindFramebuffer(GL_FRAMEBUFFER_OES, presentedFramebuffer_);
  const int w = drawableWidth_, h = drawableHeight_;
  std::vector<unsigned char> buffer(std::size_t(w) * h * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, buffer.data());
  ccglBindFramebuffer(GL_FRAMEBUFFER_OES, static_cast<GLuint>(bound));
  if (previous != this) setCurrentContext(previous);

  const UIDeviceOrientation orientation = UIDevice::currentDevice().heldOrientation();
  const bool landscape = UIDeviceOrientationIsLandscape(orientation);
  // Pixel (x, y) of the upright picture in the buffer, both from the bottom-left.
  const DeviceRotation toBuffer = DisplayGeometry(orientation)
                                      .pictureToScreenRotation()
                                      .withSourceYFlipped()
                                      .withTargetYFlipped();
  width = landscape ? h : w;
  height = landscape ? w : h;
  std::vector<unsigned char> upright(buffer.size());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      int bx = 0, by = 0;
      toBuffer.map(x, y, w - 1, h - 1, bx, by);
      const unsigned char* src = &buffer[(std::size_t(by) * w + bx) * 4];
      unsigned char* dst = &upright[(std::size_t(height - 1 - y) * width + x) * 4];
      std::copy(src, src + 4, dst);
    }
  }
  return upright;
}
