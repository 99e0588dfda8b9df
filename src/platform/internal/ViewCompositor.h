#pragma once
// Platform-internal: draws the key window's views over the GL frame.
// Only the platform library has internal/ on its include path.
#include <EGL/egl.h>
#include <GLES/gl.h>

#include <cstdint>
#include <map>

#include "UIViewBitmap.h"

class CAEAGLLayer;
class UIView;

// Views above the GL view (its subviews and the window's later subviews,
// such as alerts) are part of the picture: before a GL frame is presented,
// each visible one is drawn onto it — background colour, then contents, with
// its alpha and turned as the view is. The drawing happens in a context of
// its own that shares the frame's renderbuffer, so the engine's GL state and
// its cache of that state are left alone.
class ViewCompositor {
 public:
  static ViewCompositor& shared();

  struct Frame {
    CAEAGLLayer* drawable;  // the presenting GL view's layer
    GLuint colorRenderbuffer;
    int width, height;     // pixels
    EGLContext drawing;    // current on entry and on return
    EGLContext shareWith;  // the drawing context's share group
  };
  // Returns the number of views drawn onto the frame.
  int compositeOnto(const Frame& frame);

 private:
  ViewCompositor() = default;
  struct Texture {
    GLuint name = 0;
    unsigned version = 0;
    int width = 0, height = 0;  // allocated, powers of two
    bool used = false;
  };
  struct Item {
    UIView* view;
    float alpha;
  };
  EGLContext context_ = EGL_NO_CONTEXT;
  EGLContext sharedWith_ = EGL_NO_CONTEXT;
  GLuint framebuffer_ = 0, attached_ = 0;
  std::map<std::uint64_t, Texture> textures_;  // by view id

  bool begin(const Frame& frame);
  void end(const Frame& frame);
  void draw(const Item& item);
  Texture* textureFor(UIView* view, const UIViewBitmap& bitmap);
  void dropUnusedTextures();
  void releaseContext();
};
