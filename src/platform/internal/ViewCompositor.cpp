#include "ViewCompositor.h"

#include <vector>

#include "Clock.h"
#include "GLDisplay.h"
#include "GLExtensions.h"
#include "Log.h"
#include "UIWindow.h"

namespace {
int powerOfTwoAtLeast(int v) {
  int p = 1;
  while (p < v) p <<= 1;
  return p;
}

// Views in painting order after the GL view showing `drawable`, with their
// alpha as seen (a view's alpha multiplies its subviews'). Views painted
// before the GL view are hidden by it.
struct Collector {
  Collector(CAEAGLLayer* layer, double time) : drawable(layer), now(time) {}
  CAEAGLLayer* drawable;
  double now;
  bool pastGLView = false;
  std::vector<std::pair<UIView*, float>> items;

  void visit(UIView* view, float alpha) {
    if (view->isHidden()) return;
    alpha *= view->presentationAlpha(now);
    if (alpha <= 0.004f) return;
    if (view->eaglLayer() == drawable)
      pastGLView = true;
    else if (pastGLView)
      items.emplace_back(view, alpha);
    for (const auto& child : view->subviews()) visit(child.get(), alpha);
  }
};
}  // namespace

ViewCompositor& ViewCompositor::shared() {
  static ViewCompositor* compositor = new ViewCompositor();  // lives for the process
  return *compositor;
}

int ViewCompositor::compositeOnto(const Frame& frame) {
  UIWindow* window = UIWindow::keyWindow();
  if (!window || !frame.drawable || !frame.colorRenderbuffer) return 0;
  const double now = Clock::current().seconds();
  Collector collector(frame.drawable, now);
  collector.visit(window, 1);
  // With no views and no context there is nothing to draw or let go.
  if (collector.items.empty() && context_ == EGL_NO_CONTEXT) return 0;
  if (!begin(frame)) return 0;
  const CGRect area = window->bounds();
  glViewport(0, 0, frame.width, frame.height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrthof(0, area.size.width, area.size.height, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  for (auto& [id, texture] : textures_) texture.used = false;
  for (const auto& [view, alpha] : collector.items) draw({view, alpha});
  dropUnusedTextures();
  end(frame);
  // Views come rarely (the credits, an alert); a GL context costs megabytes
  // while they are gone, and a few milliseconds to make again.
  if (collector.items.empty()) releaseContext();
  return int(collector.items.size());
}

void ViewCompositor::releaseContext() {
  // The framebuffer is the context's own; the textures, already deleted, were shared.
  eglDestroyContext(GLDisplay::display(), context_);
  context_ = sharedWith_ = EGL_NO_CONTEXT;
  framebuffer_ = attached_ = 0;
}

bool ViewCompositor::begin(const Frame& frame) {
  glFlush();
  if (context_ != EGL_NO_CONTEXT && sharedWith_ != frame.shareWith) {
    // A new share group: our textures and framebuffer went with the old one.
    eglDestroyContext(GLDisplay::display(), context_);
    context_ = EGL_NO_CONTEXT;
    textures_.clear();
    framebuffer_ = attached_ = 0;
  }
  if (context_ == EGL_NO_CONTEXT) {
    const EGLint attributes[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
    context_ =
        eglCreateContext(GLDisplay::display(), GLDisplay::config(), frame.shareWith, attributes);
    if (context_ == EGL_NO_CONTEXT) {
      logWarningOnce("compositor-context", "cannot create a GL context to draw views in");
      return false;
    }
    sharedWith_ = frame.shareWith;
  }
  GLDisplay::makeCurrent(context_);
  if (!framebuffer_) ccglGenFramebuffers(1, &framebuffer_);
  ccglBindFramebuffer(GL_FRAMEBUFFER_OES, framebuffer_);
  if (attached_ != frame.colorRenderbuffer) {
    ccglFramebufferRenderbuffer(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_RENDERBUFFER_OES,
                                frame.colorRenderbuffer);
    attached_ = frame.colorRenderbuffer;
  }
  if (ccglCheckFramebufferStatus(GL_FRAMEBUFFER_OES) != GL_FRAMEBUFFER_COMPLETE_OES) {
    logWarningOnce("compositor-fbo", "cannot draw views onto the GL frame");
    end(frame);
    return false;
  }
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);  // premultiplied colours
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glEnableClientState(GL_VERTEX_ARRAY);
  return true;
}

void ViewCompositor::end(const Frame& frame) {
  glFlush();
  GLDisplay::makeCurrent(frame.drawing);
}

void ViewCompositor::draw(const Item& item) {
  UIView* view = item.view;
  const CGSize size = view->frame().size;
  const CGPoint corners[4] = {view->convertToWindow({0, 0}), view->convertToWindow({size.width, 0}),
                              view->convertToWindow({0, size.height}),
                              view->convertToWindow({size.width, size.height})};
  GLfloat vertices[8];
  for (int i = 0; i < 4; ++i) {
    vertices[2 * i] = corners[i].x;
    vertices[2 * i + 1] = corners[i].y;
  }
  glVertexPointer(2, GL_FLOAT, 0, vertices);
  const UIColor bg = view->backgroundColor();
  const float a = bg.a * item.alpha;
  if (a > 0) {
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glColor4f(bg.r * a, bg.g * a, bg.b * a, a);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  }
  const UIViewBitmap* bitmap = view->contents();
  Texture* texture = bitmap ? textureFor(view, *bitmap) : nullptr;
  if (!texture) return;
  const CGRect r = view->contentsRect();
  const float s0 = r.origin.x / float(texture->width), t0 = r.origin.y / float(texture->height);
  const float s1 = (r.origin.x + r.size.width) / float(texture->width);
  const float t1 = (r.origin.y + r.size.height) / float(texture->height);
  const GLfloat texCoords[8] = {s0, t0, s1, t0, s0, t1, s1, t1};
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture->name);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glTexCoordPointer(2, GL_FLOAT, 0, texCoords);
  glColor4f(item.alpha, item.alpha, item.alpha, item.alpha);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

ViewCompositor::Texture* ViewCompositor::textureFor(UIView* view, const UIViewBitmap& bitmap) {
  Texture& texture = textures_[view->viewID()];
  texture.used = true;
  if (texture.name && texture.version == view->contentsVersion()) return &texture;
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  if (bitmap.width > maxSize || bitmap.height > maxSize) {
    logWarningOnce("compositor-size", "a view's picture is larger than GL can draw");
    return nullptr;
  }
  const int w = powerOfTwoAtLeast(bitmap.width), h = powerOfTwoAtLeast(bitmap.height);
  if (!texture.name) glGenTextures(1, &texture.name);
  glBindTexture(GL_TEXTURE_2D, texture.name);
  if (texture.width != w || texture.height != h) {
    // Cleared, so that filtering at the picture's edge blends with transparency.
    const std::vector<unsigned char> clear(std::size_t(w) * std::size_t(h) * 4, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, clear.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    texture.width = w;
    texture.height = h;
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, bitmap.width, bitmap.height, GL_RGBA, GL_UNSIGNED_BYTE,
                  bitmap.rgba.data());
  texture.version = view->contentsVersion();
  return &texture;
}

void ViewCompositor::dropUnusedTextures() {
  for (auto it = textures_.begin(); it != textures_.end();) {
    if (it->second.used) {
      ++it;
      continue;
    }
    glDeleteTextures(1, &it->second.name);
    it = textures_.erase(it);
  }
}
