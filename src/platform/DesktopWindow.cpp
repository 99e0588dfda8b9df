#include "DesktopWindow.h"

#include <SDL.h>
#include <langinfo.h>

#include <clocale>
#include <cstring>

#include <vector>

#include "CGImage.h"
#include "Clock.h"
#include "Log.h"
#include "NSData.h"

DesktopWindow& DesktopWindow::shared() {
  static DesktopWindow* window = new DesktopWindow();  // lives for the process
  return *window;
}

namespace {
// The window system takes a title through the C library's character type,
// plain ASCII until a program chooses one: a Russian title would reach the
// window manager as nothing but its Latin part. The reader's own choice if it
// is UTF-8, else UTF-8 all the same.
void useUtf8CharacterType() {
  std::setlocale(LC_CTYPE, "");
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) std::setlocale(LC_CTYPE, "C.UTF-8");
}
}  // namespace

void DesktopWindow::attach(SDL_Window* window) {
  window_ = window;
  if (window_) useUtf8CharacterType();
  if (window_ && !title_.empty()) SDL_SetWindowTitle(window_, title_.c_str());
}

void DesktopWindow::setTitle(const std::string& title) {
  title_ = title;
  if (window_) SDL_SetWindowTitle(window_, title_.c_str());
}

bool DesktopWindow::setIconFromFile(const std::string& path) {
  constexpr std::size_t kMaxIconBytes = 4u << 20;
  auto bytes = NSData::dataWithContentsOfFile(path, kMaxIconBytes);
  Ptr<CGImage> image =
      bytes ? CGImage::imageWithData(std::vector<unsigned char>(bytes->begin(), bytes->end()))
            : nullptr;
  const int w = image ? int(image->width()) : 0, h = image ? int(image->height()) : 0;
  std::vector<unsigned char> pixels(std::size_t(w) * std::size_t(h) * 4);
  if (!image || w == 0 || !image->decodeRGBA(pixels.data(), std::size_t(w) * 4)) {
    logWarningOnce("window-icon:" + path, "the window icon " + path + " cannot be read");
    return false;
  }
  iconSize_ = w;
  if (!window_) return true;
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), w, h, 32, w * 4, SDL_PIXELFORMAT_RGBA32);
  if (!surface) return false;
  SDL_SetWindowIcon(window_, surface);  // the window system copies the pixels
  SDL_FreeSurface(surface);
  return true;
}

void DesktopWindow::setFullscreen(bool fullscreen) {
  fullscreen_ = fullscreen;
  showCursor(true);
  cancelPreviousPerformRequestsWithTarget(this, SELECTOR(DesktopWindow::hideIdleCursor));
  checkPending_ = false;
  if (!fullscreen_) return;
  lastMotion_ = Clock::current().seconds();
  scheduleCursorCheck(kCursorIdleSeconds);
}

void DesktopWindow::pointerMoved() {
  lastMotion_ = Clock::current().seconds();
  if (cursorHidden_) showCursor(true);
  // One pending check at a time: motion only moves the time it compares with.
  if (fullscreen_) scheduleCursorCheck(kCursorIdleSeconds);
}

void DesktopWindow::showCursor(bool shown) {
  cursorHidden_ = !shown;
  if (window_) SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

void DesktopWindow::scheduleCursorCheck(double delay) {
  if (checkPending_) return;
  checkPending_ = true;
  performSelector(SELECTOR(DesktopWindow::hideIdleCursor), delay);
}

void DesktopWindow::hideIdleCursor() {
  checkPending_ = false;
  if (!fullscreen_ || cursorHidden_) return;
  const double idle = Clock::current().seconds() - lastMotion_;
  // A millisecond's grace, so that a check due at exactly two seconds hides.
  if (idle >= kCursorIdleSeconds - 1e-3)
    showCursor(false);
  else
    scheduleCursorCheck(kCursorIdleSeconds - idle);
}
