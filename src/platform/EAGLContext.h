#pragma once
#include <GLES/gl.h>

#include <memory>
#include <vector>

#include "NSObject.h"

class CAEAGLLayer;
class WindowPicture;
struct GLDisplayState;

constexpr int kEAGLRenderingAPIOpenGLES1 = 1;

// Contexts created with the same share group share textures and buffers.
class EAGLSharegroup : public NSObject {
 public:
  EAGLSharegroup();
  ~EAGLSharegroup() override;
  void* nativeContext() const { return shareContext_; }

 private:
  friend class EAGLContext;
  void* shareContext_ = nullptr;  // the first context of the group
};

// A GL ES 1.1 rendering context. Drawing goes into framebuffer objects; the
// colour renderbuffer given storage from a layer is what `presentRenderbuffer`
// shows (in the window, or kept for screenshots when headless).
class EAGLContext : public NSObject {
 public:
  static Ptr<EAGLContext> contextWithAPI(int api, EAGLSharegroup* sharegroup = nullptr);
  ~EAGLContext() override;

  static bool setCurrentContext(EAGLContext* context);
  static EAGLContext* currentContext();

  EAGLSharegroup* sharegroup() const { return sharegroup_.get(); }
  int API() const { return kEAGLRenderingAPIOpenGLES1; }

  // Gives the bound renderbuffer RGBA8 storage of the layer's pixel size.
  bool renderbufferStorage(GLenum target, CAEAGLLayer* drawable);
  // Shows the bound colour renderbuffer's content.
  bool presentRenderbuffer(GLenum target);

  // The last presented frame, read back from GL, upright in the held device
  // orientation: RGBA rows from the top. Empty when nothing was presented.
  std::vector<unsigned char> snapshotPresentedFrame(int& width, int& height);
  int presentedFrameCount() const { return presentedFrames_; }

 private:
  EAGLContext();
  bool init(EAGLSharegroup* sharegroup);
  bool presentCopy();
  void* context_ = nullptr;  // EGLContext
  Ptr<EAGLSharegroup> sharegroup_;
  CAEAGLLayer* drawable_ = nullptr;  // not retained: the view owns its layer
  GLuint presentedFramebuffer_ = 0;
  GLuint colorRenderbuffer_ = 0;  // the one given storage from the drawable
  int drawableWidth_ = 0, drawableHeight_ = 0;
  int presentedFrames_ = 0;
  // In a window, the colour renderbuffer's storage when it is a texture's.
  std::unique_ptr<WindowPicture> windowPicture_;
};
