#pragma once
// Platform-internal: the EGL display every context lives on, and the window
// presenter. Only the platform library has internal/ on its include path.
#include <EGL/egl.h>
#include <GLES/gl.h>

#include <string>

#include "UIDevice.h"

namespace GLDisplay {
// Opens EGL on Mesa's surfaceless platform (no display needed).
bool openHeadless(std::string& error);
// Opens EGL on an X11 display and prepares a presenter for `window`.
bool openForX11Window(void* x11Display, unsigned long x11Window, std::string& error);
bool isOpen();
bool isHeadless();
EGLDisplay display();
EGLConfig config();
// Makes `context` current without a window surface (pbuffer when needed).
bool makeCurrent(EGLContext context);
void close();

// Window presentation: draws `texture` (w x h of a texW x texH texture, the
// view's portrait buffer) upright in the held orientation, letterboxed as
// DisplayGeometry places the picture in a window of the size last set.
void setWindowPixelSize(int width, int height);
bool presentTexture(EGLContext sharedFrom, GLuint texture, int w, int h, int texW, int texH,
                    UIDeviceOrientation orientation);
// Creates the presenter's context, sharing objects with `shareWith`.
bool ensurePresenter(EGLContext shareWith);
}  // namespace GLDisplay
