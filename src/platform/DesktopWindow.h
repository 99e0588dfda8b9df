#pragma once
#include <string>

#include "NSObject.h"

struct SDL_Window;

// The desktop side of the book's window: its title, its icon, and a pointer
// that hides itself in full screen once the mouse has rested for a while.
// Without a window (headless runs, tests) it keeps the state all the same.
class DesktopWindow : public NSObject {
 public:
  static DesktopWindow& shared();
  static constexpr double kCursorIdleSeconds = 2.0;

  std::string className() const override { return "DesktopWindow"; }

  // The host's window, or null to detach.
  void attach(SDL_Window* window);

  void setTitle(const std::string& title);
  const std::string& title() const { return title_; }
  // A PNG picture; false, with a warning, when it cannot be read.
  bool setIconFromFile(const std::string& path);
  bool hasIcon() const { return iconSize_ > 0; }
  int iconSize() const { return iconSize_; }

  void setFullscreen(bool fullscreen);
  bool isFullscreen() const { return fullscreen_; }
  void pointerMoved();
  bool isCursorHidden() const { return cursorHidden_; }

 private:
  DesktopWindow() = default;
  void showCursor(bool shown);
  void scheduleCursorCheck(double delay);
  void hideIdleCursor();

  SDL_Window* window_ = nullptr;
  std::string title_;
  int iconSize_ = 0;
  bool fullscreen_ = false;
  bool cursorHidden_ = false;
  bool checkPending_ = false;
  double lastMotion_ = 0;
};
