#include "GLDisplay.h"

#include <EGL/eglext.h>

#include "DisplayGeometry.h"
#include "Log.h"

namespace {
struct State {
  EGLDisplay display = EGL_NO_DISPLAY;
  EGLConfig config = nullptr;
  bool headless = true;
  bool surfacelessOk = false;
  EGLSurface pbuffer = EGL_NO_SURFACE;
  // window presentation
  EGLSurface windowSurface = EGL_NO_SURFACE;
  EGLContext presenter = EGL_NO_CONTEXT;
  unsigned long x11Window = 0;
  // The window opens at the landscape picture's size.
  int windowWidth = DisplayGeometry::kLongSide, windowHeight = DisplayGeometry::kShortSide;
};
State gState;

bool chooseConfig(EGLint surfaceType, std::string& error) {
  const EGLint attributes[] = {
      EGL_RED_SIZE,     8,           EGL_GREEN_SIZE, 8,  EGL_BLUE_SIZE,       8,
      EGL_ALPHA_SIZE,   8,           EGL_DEPTH_SIZE, 16, EGL_RENDERABLE_TYPE, EGL_OPENGL_ES_BIT,
      EGL_SURFACE_TYPE, surfaceType, EGL_NONE};
  EGLint count = 0;
  if (!eglChooseConfig(gState.display, attributes, &gState.config, 1, &count) || count < 1) {
    error = "no EGL configuration offers GL ES 1.1 with RGBA8 and depth";
    return false;
  }
  return true;
}

bool initialize(std::string& error) {
  if (gState.display == EGL_NO_DISPLAY) {
    error = "cannot open an EGL display";
    return false;
  }
  EGLint major = 0, minor = 0;
  if (!eglInitialize(gState.display, &major, &minor)) {
    error = "cannot initialise EGL";
    gState.display = EGL_NO_DISPLAY;
    return false;
  }
  if (!eglBindAPI(EGL_OPENGL_ES_API)) {
    error = "EGL has no GL ES";
    return false;
  }
  const char* extensions = eglQueryString(gState.display, EGL_EXTENSIONS);
  gState.surfacelessOk =
      extensions &&
      std::string(extensions).find("EGL_KHR_surfaceless_context") != std::string::npos;
  return true;
}
}  // namespace

bool GLDisplay::openHeadless(std::string& error) {
  if (gState.display != EGL_NO_DISPLAY) return true;
  auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay)
    gState.display =
        getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  gState.headless = true;
  return initialize(error) && chooseConfig(EGL_PBUFFER_BIT, error);
}

bool GLDisplay::openForX11Window(void* x11Display, unsigned long x11Window, std::string& error) {
  if (gState.display != EGL_NO_DISPLAY) return true;
  auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay)
    gState.display = getPlatformDisplay(EGL_PLATFORM_X11_KHR, x11Display, nullptr);
  gState.headless = false;
  gState.x11Window = x11Window;
  if (!initialize(error) || !chooseConfig(EGL_WINDOW_BIT | EGL_PBUFFER_BIT, error)) return false;
  gState.windowSurface = eglCreateWindowSurface(
      gState.display, gState.config, static_cast<EGLNativeWindowType>(x11Window), nullptr);
  if (gState.windowSurface == EGL_NO_SURFACE) {
    error = "cannot create a GL surface for the window";
    return false;
  }
  return true;
}

bool GLDisplay::isOpen() {
  return gState.display != EGL_NO_DISPLAY;
}
bool GLDisplay::isHeadless() {
  return gState.headless;
}
EGLDisplay GLDisplay::display() {
  return gState.display;
}
EGLConfig GLDisplay::config() {
  return gState.config;
}

bool GLDisplay::makeCurrent(EGLContext context) {
  if (context == EGL_NO_CONTEXT)
    return eglMakeCurrent(gState.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (gState.surfacelessOk)
    return eglMakeCurrent(gState.display, EGL_NO_SURFACE, EGL_NO_SURFACE, context);
  if (gState.pbuffer == EGL_NO_SURFACE) {
    const EGLint attributes[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
    gState.pbuffer = eglCreatePbufferSurface(gState.display, gState.config, attributes);
  }
  return eglMakeCurrent(gState.display, gState.pbuffer, gState.pbuffer, context);
}

void GLDisplay::close() {
  if (gState.display == EGL_NO_DISPLAY) return;
  eglMakeCurrent(gState.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (gState.presenter != EGL_NO_CONTEXT) eglDestroyContext(gState.display, gState.presenter);
  if (gState.windowSurface != EGL_NO_SURFACE)
    eglDestroySurface(gState.display, gState.windowSurface);
  if (gState.pbuffer != EGL_NO_SURFACE) eglDestroySurface(gState.display, gState.pbuffer);
  eglTerminate(gState.display);
  gState = State{};
}

void GLDisplay::setWindowPixelSize(int width, int height) {
  gState.windowWidth = width;
  gState.windowHeight = height;
}

bool GLDisplay::ensurePresenter(EGLContext shareWith) {
  if (gState.presenter != EGL_NO_CONTEXT) return true;
  const EGLint attributes[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
  gState.presenter = eglCreateContext(gState.display, gState.config, shareWith, attributes);
  if (gState.presenter == EGL_NO_CONTEXT) return false;
  eglMakeCurrent(gState.display, gState.windowSurface, gState.windowSurface, gState.presenter);
  eglSwapInterval(gState.display, 1);
  return true;
}

namespace {
// Texture coordinates of the landscape corners (bottom-left, bottom-right,
// top-left, top-right) within the view's portrait buffer.
void cornerTexCoords(UIDeviceOrientation orientation, float su, float sv, GLfloat out[8]) {
  // Both measured from the bottom-left, as GL does.
  const DeviceRotation rotation = DisplayGeometry(orientation)
                                      .pictureToScreenRotation()
                                      .withSourceYFlipped()
                                      .withTargetYFlipped();
  auto map = [&](float x, float y, GLfloat* uv) {
    float u = 0, v = 0;
    rotation.map(x, y, 1.0f, 1.0f, u, v);
    uv[0] = u * su;
    uv[1] = v * sv;
  };
  map(0, 0, out);
  map(1, 0, out + 2);
  map(0, 1, out + 4);
  map(1, 1, out + 6);
}
}  // namespace

bool GLDisplay::presentTexture(EGLContext sharedFrom, GLuint texture, int w, int h, int texW,
                               int texH, UIDeviceOrientation orientation) {
  if (gState.headless || !ensurePresenter(sharedFrom)) return false;
  eglMakeCurrent(gState.display, gState.windowSurface, gState.windowSurface, gState.presenter);
  const DisplayGeometry geometry(orientation, gState.windowWidth, gState.windowHeight);
  const DisplayGeometry::WindowRect shown = geometry.pictureInWindow();
  glViewport(0, 0, gState.windowWidth, gState.windowHeight);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  // GL counts the window's rows from the bottom.
  glViewport(shown.x, gState.windowHeight - shown.y - shown.height, shown.width, shown.height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  // A window at the picture's own size shows one texel per pixel: nothing to filter.
  const bool oneToOne =
      (shown.width == w && shown.height == h) || (shown.width == h && shown.height == w);
  const GLint filter = oneToOne ? GL_NEAREST : GL_LINEAR;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  static const GLfloat vertices[] = {-1, -1, 1, -1, -1, 1, 1, 1};
  GLfloat texCoords[8];
  cornerTexCoords(orientation, float(w) / float(texW), float(h) / float(texH), texCoords);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glVertexPointer(2, GL_FLOAT, 0, vertices);
  glTexCoordPointer(2, GL_FLOAT, 0, texCoords);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  bool ok = eglSwapBuffers(gState.display, gState.windowSurface);
  return ok;
}
